#include "../../discdb/ui/player_rig.h"
#include "../cddb_replies.h"
#include "cddb/cddb_query.h"
#include "cddb/toc_disc_id.h"
#include "cddb/ui/frm_query_internet.h"
#include "discdb/ui/frm_add_cd.h"
#include "platform/http_fetcher.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

HttpReply ok(const QByteArray& body) { return {HttpError::None, 200, body, {}}; }
const QByteArray kNotFound = "401 rock 12345678 No such CD entry in database\r\n";

// The lookup over a real editor, the server scripted.
class LookupTest : public ::testing::Test, public PlayerRig {
protected:
    // Opens editor and lookup, and runs the lookup as its timer would.
    void lookUp() {
        editor = new FrmAddCD(core.session, database, boxes, [this](FrmAddCD& e) {
            const CddbLookup asked{QStringLiteral("cddb.example/~cddb/cddb.cgi"), QStringLiteral("jo"),
                                   cddbDiscIdFromToc(e.toc())};
            lookup = new FrmQueryInterNet(e, asked, fetcher, boxes);
            lookup->Form_Load();
            lookup->show();
            return lookup.data();
        });
        editor->Form_Load();
        editor->cmdLocate_Click();
        ASSERT_TRUE(lookup);
        lookup->tmrCheckNet_Timer();
    }
    template <typename T>
    T* control(const char* name, int index = -1) const {
        for (T* w : lookup->findChildren<T*>(QLatin1String(name)))
            if (index < 0 || w->property("index").toInt() == index) return w;
        return nullptr;
    }
    QString caption(const char* name, int index = -1) const { return control<QLabel>(name, index)->text(); }
    bool rowVisible(int i) const {
        return !control<QLabel>("lblT", i)->isHidden() && !control<QLabel>("lblTrack", i)->isHidden();
    }
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void TearDown() override {
        delete lookup.data();
        delete editor.data();
    }

    ScriptedHttpFetcher fetcher;
    QPointer<FrmAddCD> editor;
    QPointer<FrmQueryInterNet> lookup;
};

}  // namespace

TEST_F(LookupTest, ARecordShowsItsRowsPageByPageAndMergesWhole) {
    insert(discOf(22));
    fetcher.respond = [](const QUrl&, int) { return ok(cddbRecordReply(22)); };
    lookUp();
    EXPECT_FALSE(lookup->tmrCheckNet()->isActive()) << "one lookup per window";
    EXPECT_EQ(caption("lblArtist"), QStringLiteral("Band"));
    EXPECT_EQ(caption("lblTitle"), QStringLiteral("Album"));
    auto* next = control<QToolButton>("cmdNextPage");
    for (int page = 0; page < 2; ++page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(caption("lblT", 0), QStringLiteral("Track %1 :").arg(page * 20 + 1));
        for (int i = 0; i < 20; ++i) {
            const int track = page * 20 + i + 1;
            EXPECT_EQ(rowVisible(i), track <= 22) << "row " << i;
            EXPECT_EQ(caption("lblTrack", i),
                      track <= 22 ? QStringLiteral("Song %1").arg(track) : QStringLiteral("N/A"));
        }
        EXPECT_TRUE(next->isVisible());
        EXPECT_EQ(next->isEnabled(), page == 0);
        QTest::mouseClick(next, Qt::LeftButton);
    }

    QTest::mouseClick(control<QWidget>("cmdMerge"), Qt::LeftButton);
    EXPECT_TRUE(lookup.isNull() || lookup->isHidden());
    EXPECT_EQ(editor->txtTitle()->text(), QStringLiteral("Album"));
    EXPECT_EQ(editor->txtArtist()->text(), QStringLiteral("Band"));
    for (int n = 1; n <= 22; ++n) EXPECT_EQ(editor->txtTrk(n)->text(), QStringLiteral("Song %1").arg(n));
}

TEST_F(LookupTest, MergeTakesOnlyTheTracksTheRecordNames) {
    // Tracks 2 and 5 have no line in the record.
    fetcher.respond = [](const QUrl&, int) {
        return ok("210 misc 1 x\r\nDTITLE=Solo\r\nTTITLE0=One\r\nTTITLE2=\r\nTTITLE3=Four\\nline\r\n.\r\n");
    };
    lookUp();
    for (int n = 1; n <= 5; ++n) editor->txtTrk(n)->setText(QStringLiteral("old %1").arg(n));
    EXPECT_FALSE(rowVisible(1));
    EXPECT_TRUE(rowVisible(2)) << "an empty title is a title";
    EXPECT_TRUE(control<QToolButton>("cmdNextPage")->isHidden()) << "twenty rows or fewer need no pages";
    lookup->cmdMerge_Click();
    const QStringList expected = {"One", "old 2", "", "Four line", "old 5"};
    for (int n = 1; n <= 5; ++n) EXPECT_EQ(editor->txtTrk(n)->text(), expected[n - 1]) << "track " << n;
}

TEST_F(LookupTest, NoSectionKnowsTheDisc) {
    fetcher.respond = [](const QUrl&, int) { return ok(kNotFound); };
    lookUp();
    for (const char* label : {"lblArtist", "lblTitle"}) EXPECT_EQ(caption(label), QStringLiteral("Record Not Found"));
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(rowVisible(i)) << i;
    EXPECT_FALSE(control<QWidget>("cmdMerge")->isEnabled());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LookupTest, AFailedTransferShowsTheServerBoxOnceAndLeavesTheWindowAsItWas) {
    fetcher.respond = [](const QUrl&, int index) {
        return index < 2 ? ok(kNotFound) : HttpReply{HttpError::ConnectionFailed, 0, {}, QStringLiteral("refused")};
    };
    lookUp();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("CDDB Server Error"));
    EXPECT_EQ(boxes.shown[0].style, MsgBox::Information | MsgBox::OkOnly);
    EXPECT_EQ(boxes.shown[0].text, cddbFailureText(kCddbTimedOut));
    EXPECT_EQ(caption("lblArtist"), QString::fromLatin1(kCddbCategories[2].statusText));
    EXPECT_EQ(caption("lblTitle"), QStringLiteral("Accessing CDDB..."));
    EXPECT_FALSE(control<QWidget>("cmdMerge")->isEnabled());
}

// Closed while a request is outstanding, the window goes once the lookup has returned and
// asks no more; closing the editor takes the lookup with it.
TEST_F(LookupTest, ClosingDuringOrAfterTheSearch) {
    const struct {
        const char* name;
        bool byEditor;  // else the lookup's own Cancel
        int atRequest;  // -1: after the search
    } cases[] = {
        {"cancel during the third request", false, 2},
        {"editor closed during the search", true, 0},
        {"editor closed after it", true, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fetcher.requests.clear();
        fetcher.respond = [&](const QUrl&, int index) {
            if (index == c.atRequest && c.byEditor) editor->cmdExit_Click();
            if (index == c.atRequest && !c.byEditor) QTest::mouseClick(control<QWidget>("cmdCancel"), Qt::LeftButton);
            return ok(kNotFound);
        };
        lookUp();
        if (c.atRequest < 0) editor->cmdExit_Click();
        settle();
        EXPECT_TRUE(lookup.isNull());
        EXPECT_EQ(editor.isNull(), c.byEditor);
        EXPECT_EQ(fetcher.requests.size(),
                  c.atRequest < 0 ? kCddbCategories.size() : static_cast<std::size_t>(c.atRequest + 1));
        EXPECT_TRUE(boxes.shown.empty());
        delete editor.data();
    }
}

TEST_F(LookupTest, LocateRaisesAnOpenLookupAndOpensAFreshOneAfterItClosed) {
    fetcher.respond = [](const QUrl&, int) { return ok(kNotFound); };
    lookUp();
    QPointer<FrmQueryInterNet> first = lookup;
    editor->cmdLocate_Click();
    EXPECT_EQ(lookup, first);
    first->cmdCancel_Click();
    settle();
    editor->cmdLocate_Click();
    ASSERT_TRUE(lookup);
    EXPECT_TRUE(lookup->tmrCheckNet()->isActive()) << "a new lookup asks on its timer, not on load";
}

TEST_F(LookupTest, WithoutAUsableTableNothingIsAsked) {
    drive->remove();
    core.session.runStep([this] { core.identity.identifyDisc(); });
    lookUp();
    EXPECT_TRUE(fetcher.requests.empty());
    EXPECT_EQ(caption("lblArtist"), QStringLiteral("No Audio Disc To Look Up"));
}
