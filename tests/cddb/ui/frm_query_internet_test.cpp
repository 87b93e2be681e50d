#include "../../discdb/ui/player_rig.h"
#include "../cddb_replies.h"
#include "cddb/cddb_query.h"
#include "cddb/freedb_disc_id.h"
#include "cddb/toc_disc_id.h"
#include "cddb/ui/frm_query_internet.h"
#include "discdb/ui/frm_add_cd.h"
#include "platform/http_fetcher.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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
    void openEditor() {
        editor = new FrmAddCD(core.session, database, boxes, [this](FrmAddCD& e) { return openLookup(e); });
        editor->Form_Load();
    }
    QWidget* openLookup(FrmAddCD& e) {
        lookup = new FrmQueryInterNet(e, {QStringLiteral("cddb.example/~cddb/cddb.cgi"), QStringLiteral("jo"),
                                          cddbDiscIdFromToc(e.toc())},
                                      fetcher, boxes);
        lookup->Form_Load();
        lookup->show();
        return lookup;
    }
    // Opens editor and lookup, and runs the lookup as its timer would.
    void lookUp() {
        openEditor();
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

TEST_F(LookupTest, DriveRepliesGiveTheIdServersKnow) {
    for (int tracks : {1, 12, 16, 99}) {
        const DiscToc toc = discOf(tracks);
        insert(toc);
        std::vector<int> starts;
        for (const auto& track : toc.tracks) starts.push_back(track.startFrame);
        // freedbDiscId itself is checked against the format's definition in FreedbDiscId.
        EXPECT_EQ(cddbDiscIdFromToc(readDiscTocReplies(channel)), freedbDiscId(starts, toc.leadoutFrame)) << tracks;
    }
    const DiscTocReplies refused[] = {
        {"", "1", {"00:02:00"}},          // no disc length
        {"40:00:00", "1", {"garbage"}},   // a start that is no position
        {"40:00:00", "0", {}},            // no tracks
        {"40:00:00", "1", {"00:02:75"}},  // frames out of range
    };
    for (const DiscTocReplies& toc : refused) EXPECT_EQ(cddbDiscIdFromToc(toc), QString()) << toc.trackStarts.join(u',').toStdString();
}

TEST_F(LookupTest, ARecordShowsItsRowsAndMerges) {
    fetcher.respond = [](const QUrl&, int) { return ok(cddbRecordReply(12)); };
    openEditor();
    editor->cmdLocate_Click();
    EXPECT_TRUE(lookup->tmrCheckNet()->isActive()) << "the lookup starts on the timer, not on load";
    EXPECT_FALSE(control<QWidget>("cmdMerge")->isEnabled());
    lookup->tmrCheckNet_Timer();

    ASSERT_EQ(fetcher.requests.size(), 1u);
    EXPECT_EQ(fetcher.requests[0].toString(),
              QStringLiteral("http://cddb.example/~cddb/cddb.cgi?cmd=cddb+read+rock+") + cddbDiscIdFromToc(editor->toc()) +
                  QStringLiteral("&hello=jo+velmora.invalid+Velmora+3.0.1&proto=6"));
    EXPECT_FALSE(lookup->tmrCheckNet()->isActive());
    EXPECT_EQ(caption("lblArtist"), QStringLiteral("Band"));
    EXPECT_EQ(caption("lblTitle"), QStringLiteral("Album"));
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(rowVisible(i), i < 12) << "row " << i + 1;
        EXPECT_EQ(caption("lblTrack", i), i < 12 ? QStringLiteral("Song %1").arg(i + 1) : QStringLiteral("N/A"));
    }
    EXPECT_TRUE(control<QWidget>("cmdMerge")->isEnabled());
    EXPECT_TRUE(control<QPlainTextEdit>("txtResult")->toPlainText().startsWith(QLatin1String("210 rock")));
    EXPECT_GE(control<QWidget>("txtResult")->y(), lookup->height()) << "the raw reply is never in view";
    EXPECT_TRUE(control<QToolButton>("cmdNextPage")->isHidden());

    fetcher.respond = {};
    QTest::mouseClick(control<QWidget>("cmdMerge"), Qt::LeftButton);
    EXPECT_TRUE(lookup.isNull() || lookup->isHidden());
    EXPECT_EQ(editor->txtTitle()->text(), QStringLiteral("Album"));
    EXPECT_EQ(editor->txtArtist()->text(), QStringLiteral("Band"));
    for (int n = 1; n <= 12; ++n) EXPECT_EQ(editor->txtTrk(n)->text(), QStringLiteral("Song %1").arg(n));
    EXPECT_EQ(fetcher.requests.size(), 1u);
}

TEST_F(LookupTest, MergeTakesOnlyTheTracksTheRecordNames) {
    // Tracks 2 and 5 have no line in the record.
    fetcher.respond = [](const QUrl&, int) {
        return ok("210 misc 1 x\r\nDTITLE=Solo\r\nTTITLE0=One\r\nTTITLE2=\r\nTTITLE3=Four\\nline\r\n.\r\n");
    };
    openEditor();
    for (int n = 1; n <= 5; ++n) editor->txtTrk(n)->setText(QStringLiteral("old %1").arg(n));
    editor->cmdLocate_Click();
    lookup->tmrCheckNet_Timer();
    EXPECT_EQ(caption("lblArtist"), QStringLiteral("Solo"));
    EXPECT_EQ(caption("lblTitle"), QStringLiteral("Solo"));
    EXPECT_FALSE(rowVisible(1));
    EXPECT_TRUE(rowVisible(2)) << "an empty title is a title";
    lookup->cmdMerge_Click();
    const QStringList expected = {"One", "old 2", "", "Four line", "old 5"};
    for (int n = 1; n <= 5; ++n) EXPECT_EQ(editor->txtTrk(n)->text(), expected[n - 1]) << "track " << n;
}

TEST_F(LookupTest, NoSectionKnowsTheDisc) {
    fetcher.respond = [](const QUrl&, int) { return ok(kNotFound); };
    lookUp();
    EXPECT_EQ(fetcher.requests.size(), kCddbCategories.size());
    for (const char* label : {"lblArtist", "lblTitle"}) EXPECT_EQ(caption(label), QStringLiteral("Record Not Found"));
    EXPECT_EQ(control<QPlainTextEdit>("txtResult")->toPlainText(), QStringLiteral("Record Not Found"));
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(rowVisible(i)) << i;
    EXPECT_FALSE(control<QWidget>("cmdMerge")->isEnabled());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LookupTest, AFailedTransferShowsTheServerBoxOnceAndLeavesTheWindowAsItWas) {
    fetcher.respond = [](const QUrl&, int index) {
        return index < 2 ? ok(kNotFound) : HttpReply{HttpError::ConnectionFailed, 0, {}, QStringLiteral("refused")};
    };
    lookUp();
    EXPECT_EQ(fetcher.requests.size(), 3u);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("CDDB Server Error"));
    EXPECT_EQ(boxes.shown[0].style, 64);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QLatin1String("Request Timed Out\r\n\r\n")));
    EXPECT_EQ(caption("lblArtist"), QString::fromLatin1(kCddbCategories[2].statusText));
    EXPECT_EQ(caption("lblTitle"), QStringLiteral("Accessing CDDB..."));
    EXPECT_FALSE(control<QWidget>("cmdMerge")->isEnabled());
}

TEST_F(LookupTest, CancelDuringTheThirdRequestClosesAtOnceAndAsksNoMore) {
    std::vector<QString> statusSeen;
    fetcher.respond = [this, &statusSeen](const QUrl&, int index) {
        statusSeen.push_back(caption("lblArtist"));
        if (index == 2) QTest::mouseClick(control<QWidget>("cmdCancel"), Qt::LeftButton);
        return ok(kNotFound);
    };
    lookUp();
    EXPECT_EQ(fetcher.requests.size(), 3u);
    ASSERT_EQ(statusSeen.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(statusSeen[i], QString::fromLatin1(kCddbCategories[i].statusText));
    EXPECT_TRUE(boxes.shown.empty());
    settle();
    EXPECT_TRUE(lookup.isNull()) << "the window goes once the lookup has returned";
    EXPECT_TRUE(editor) << "the editor stays open";
}

TEST_F(LookupTest, ClosingTheEditorTakesTheLookupWithIt) {
    for (bool duringSearch : {false, true}) {
        SCOPED_TRACE(duringSearch ? "during the search" : "after it");
        fetcher.requests.clear();
        fetcher.respond = [this, duringSearch](const QUrl&, int index) {
            if (duringSearch && index == 0) editor->cmdExit_Click();
            return ok(index == 0 && duringSearch ? kNotFound : cddbRecordReply(3));
        };
        lookUp();
        if (!duringSearch) editor->cmdExit_Click();
        settle();
        EXPECT_TRUE(lookup.isNull());
        EXPECT_TRUE(editor.isNull());
        EXPECT_EQ(fetcher.requests.size(), 1u);
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
    EXPECT_TRUE(first.isNull());
    editor->cmdLocate_Click();
    ASSERT_TRUE(lookup);
    EXPECT_TRUE(lookup->tmrCheckNet()->isActive()) << "a new lookup a second after it opens";
}

TEST_F(LookupTest, RecordsOfMoreThanTwentyTracksPageAndMergeWhole) {
    insert(discOf(40));
    fetcher.respond = [](const QUrl&, int) { return ok(cddbRecordReply(40)); };
    lookUp();
    auto* next = control<QToolButton>("cmdNextPage");
    ASSERT_TRUE(lookup->record());
    ASSERT_FALSE(next->isHidden());
    EXPECT_EQ(caption("lblTrack", 19), QStringLiteral("Song 20"));
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(lookup->page(), 1);
    EXPECT_EQ(caption("lblT", 0), QStringLiteral("Track 21 :"));
    EXPECT_EQ(caption("lblTrack", 19), QStringLiteral("Song 40"));
    EXPECT_FALSE(next->isEnabled());
    lookup->cmdMerge_Click();
    for (int n : {1, 20, 21, 40}) EXPECT_EQ(editor->txtTrk(n)->text(), QStringLiteral("Song %1").arg(n));
}

TEST_F(LookupTest, WithoutAUsableTableNothingIsAsked) {
    drive->remove();
    core.session.runStep([this] { core.identity.identifyDisc(); });
    lookUp();
    EXPECT_TRUE(fetcher.requests.empty());
    EXPECT_FALSE(control<QWidget>("cmdMerge")->isEnabled());
}
