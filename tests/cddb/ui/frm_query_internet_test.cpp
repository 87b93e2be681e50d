#include "../cddb_replies.h"
#include "cddb/cddb_query.h"
#include "cddb/ui/frm_query_internet.h"
#include "loopback_http_server.h"
#include "musicbrainz_answers.h"
#include "platform/http_fetcher.h"
#include "platform/message_box.h"
#include "platform/net/qt_http_fetcher.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

HttpReply ok(const QByteArray& body) { return {HttpError::None, 200, body, {}}; }
const QByteArray kNotFound = "401 rock 12345678 No such CD entry in database\r\n";
const CddbLookup kAsked{QStringLiteral("cddb.example/~cddb/cddb.cgi"), QStringLiteral("jo"),
                        QStringLiteral("12345678")};

class LookupTest : public ::testing::Test {
protected:
    // Opens the window as the editor's locate button does.
    void open(const CddbLookup& asked, HttpFetcher& fetcher) {
        lookup = new FrmQueryInterNet(asked, fetcher, boxes);
        QObject::connect(lookup, &FrmQueryInterNet::titlesChosen,
                         [this](const DiscTitles& titles) { chosen.push_back(titles); });
        lookup->Form_Load();
        lookup->show();
    }
    // Opens the window and runs the lookup as its timer would, to its end.
    void lookUp(const CddbLookup& asked = kAsked) {
        open(asked, fetcher);
        EXPECT_TRUE(lookup->tmrCheckNet()->isActive()) << "the lookup asks on its timer, not on load";
        EXPECT_TRUE(fetcher.requests.empty());
        QSignalSpy ended(lookup, &FrmQueryInterNet::lookupEnded);
        lookup->tmrCheckNet_Timer();
        ASSERT_TRUE(ended.count() == 1 || ended.wait(5000));
        EXPECT_FALSE(lookup->tmrCheckNet()->isActive()) << "one lookup per window";
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

    void TearDown() override { delete lookup.data(); }

    ScriptedHttpFetcher fetcher;
    RecordingMessageBoxes boxes;
    QPointer<FrmQueryInterNet> lookup;
    std::vector<DiscTitles> chosen;
};

using Tracks = std::vector<std::pair<int, QString>>;

}  // namespace

TEST_F(LookupTest, ARecordShowsItsRowsPageByPageAndMergesWhole) {
    fetcher.respond = [](const QUrl&, int) { return ok(cddbRecordReply(22)); };
    lookUp();
    EXPECT_EQ(fetcher.requests.size(), 1u);
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
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0].title, QStringLiteral("Album"));
    EXPECT_EQ(chosen[0].artist, QStringLiteral("Band"));
    Tracks all;
    for (int n = 1; n <= 22; ++n) all.emplace_back(n, QStringLiteral("Song %1").arg(n));
    EXPECT_EQ(chosen[0].tracks, all);
}

TEST_F(LookupTest, MergeTakesOnlyTheTracksTheRecordNames) {
    // Tracks 2 and 5 have no line in the record.
    fetcher.respond = [](const QUrl&, int) {
        return ok("210 misc 1 x\r\nDTITLE=Solo\r\nTTITLE0=One\r\nTTITLE2=\r\nTTITLE3=Four\\nline\r\n.\r\n");
    };
    lookUp();
    EXPECT_FALSE(rowVisible(1));
    EXPECT_TRUE(rowVisible(2)) << "an empty title is a title";
    EXPECT_TRUE(control<QToolButton>("cmdNextPage")->isHidden()) << "twenty rows or fewer need no pages";
    lookup->cmdMerge_Click();
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0].tracks, (Tracks{{1, "One"}, {3, ""}, {4, "Four line"}}));
}

TEST_F(LookupTest, NoSectionKnowsTheDisc) {
    fetcher.respond = [](const QUrl&, int) { return ok(kNotFound); };
    lookUp();
    EXPECT_EQ(fetcher.requests.size(), kCddbCategories.size());
    for (const char* label : {"lblArtist", "lblTitle"}) EXPECT_EQ(caption(label), QStringLiteral("Record Not Found"));
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(rowVisible(i)) << i;
    EXPECT_FALSE(control<QWidget>("cmdMerge")->isEnabled());
    EXPECT_TRUE(boxes.shown.empty());
    lookup->cmdMerge_Click();  // nothing to take: it only closes
    EXPECT_TRUE(chosen.empty());
    EXPECT_TRUE(lookup->isHidden());
}

TEST_F(LookupTest, AFailedTransferShowsTheServerBoxOnceAndLeavesTheWindowAsItWas) {
    fetcher.respond = [](const QUrl&, int index) {
        return index < 2 ? ok(kNotFound) : HttpReply{HttpError::ConnectionFailed, 0, {}, QStringLiteral("refused")};
    };
    lookUp();
    EXPECT_EQ(fetcher.requests.size(), 3u);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("CDDB Server Error"));
    EXPECT_EQ(boxes.shown[0].style, MsgBox::Information | MsgBox::OkOnly);
    EXPECT_EQ(boxes.shown[0].text, cddbFailureText(kCddbUnreachable));
    EXPECT_EQ(caption("lblArtist"), QString::fromLatin1(kCddbCategories[2].statusText));
    EXPECT_EQ(caption("lblTitle"), QStringLiteral("Accessing CDDB..."));
    EXPECT_FALSE(control<QWidget>("cmdMerge")->isEnabled());
}

// While a server that never answers keeps the third section's request outstanding, the
// window shows that section, can be dragged, and closes at once; no further request follows.
TEST_F(LookupTest, WhileTheServerWaitsTheWindowStaysLiveAndClosesAtOnce) {
    LoopbackHttpServer server;
    server.script = [](const LoopbackHttpServer::Request&, int i) {
        return i < 2 ? LoopbackHttpServer::reply(kNotFound)
                     : LoopbackHttpServer::of(LoopbackHttpServer::Answer::Kind::Silent);
    };
    QtHttpFetcher http;
    open({server.hostPort() + "/~cddb/cddb.cgi", "jo", "12345678"}, http);
    lookup->tmrCheckNet_Timer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests.size() == 3; }));
    EXPECT_EQ(caption("lblArtist"), QString::fromLatin1(kCddbCategories[2].statusText));

    const QPoint before = lookup->pos();
    QTest::mousePress(lookup, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(lookup, QPoint(50, 40));
    QTest::mouseRelease(lookup, Qt::LeftButton, {}, QPoint(50, 40));
    EXPECT_EQ(lookup->pos(), before + QPoint(30, 20));

    QTest::mouseClick(control<QWidget>("cmdCancel"), Qt::LeftButton);
    EXPECT_TRUE(lookup->isHidden());
    settle();
    EXPECT_TRUE(lookup.isNull());
    QTest::qWait(100);
    EXPECT_EQ(server.requests.size(), 3u);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LookupTest, ClosingAbortsTheOutstandingRequestAtOnce) {
    fetcher.respond = [](const QUrl&, int i) -> std::optional<HttpReply> {
        if (i % 3 == 2) return std::nullopt;  // each lookup's third request
        return ok(kNotFound);
    };
    for (const int third : {2, 5}) {
        const bool byCancel = third == 2;
        SCOPED_TRACE(byCancel ? "cmdCancel" : "the window's close");
        open(kAsked, fetcher);
        lookup->tmrCheckNet_Timer();
        ASSERT_TRUE(QTest::qWaitFor([&] { return fetcher.outstanding(third); }));
        if (byCancel) QTest::mouseClick(control<QWidget>("cmdCancel"), Qt::LeftButton);
        else lookup->close();
        EXPECT_FALSE(fetcher.outstanding(third));
        settle();
    }
}

TEST_F(LookupTest, WithoutADiscIdNothingIsAsked) {
    lookUp({kAsked.server, kAsked.userName, {}});
    EXPECT_TRUE(fetcher.requests.empty());
    EXPECT_EQ(caption("lblArtist"), QStringLiteral("No Audio Disc To Look Up"));
}

// The CDDB server has nothing: MusicBrainz is asked, its record shows in the same rows with
// its source named, a chooser picks among its releases, and Merge takes the one chosen.
TEST_F(LookupTest, WhenTheCddbServerHasNothingMusicBrainzRecordShowsWithAChooser) {
    const MusicBrainzDisc disc{"mb-disc-id", "1+3+900+150+300+600", 3};
    const QByteArray answer = mb::answer(
        "mb-disc-id",
        {mb::release("r1", "First Pressing", {{"A", ""}}, "GB", "1999", {{mb::numbered("One", 3), {"mb-disc-id"}}}),
         mb::release("r2", "Reissue", {{"A", ""}}, "JP", "2005", {{mb::numbered("Two", 3), {"mb-disc-id"}}})});
    const struct {
        const char* name;
        QByteArray cddb;  // every CDDB section's answer
        std::size_t boxes;
    } cases[] = {{"not found", kNotFound, 0}, {"refused", "500 Unknown developer email\r\n", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.shown.clear();
        chosen.clear();
        ScriptedHttpFetcher musicBrainz;
        musicBrainz.respond = [&](const QUrl&, int) { return ok(answer); };
        fetcher.respond = [&](const QUrl&, int) { return ok(c.cddb); };
        lookup = new FrmQueryInterNet(kAsked, fetcher, boxes, {&musicBrainz, {"http://mb.example", disc}});
        QObject::connect(lookup, &FrmQueryInterNet::titlesChosen,
                         [this](const DiscTitles& titles) { chosen.push_back(titles); });
        QSignalSpy release(lookup, &FrmQueryInterNet::releaseChosen);
        QSignalSpy ended(lookup, &FrmQueryInterNet::lookupEnded);
        lookup->Form_Load();
        lookup->show();
        lookup->tmrCheckNet_Timer();
        ASSERT_TRUE(ended.wait(5000));
        EXPECT_EQ(boxes.shown.size(), c.boxes);
        ASSERT_EQ(musicBrainz.requests.size(), 1u);
        EXPECT_TRUE(control<QLabel>("lblSource")->isVisible());
        auto* chooser = lookup->findChild<QComboBox*>("cmbRelease");
        ASSERT_TRUE(chooser && chooser->isVisible());
        EXPECT_EQ(chooser->itemText(1), "Reissue - A (JP, 2005, CD)");
        EXPECT_EQ(caption("lblTrack", 0), "One 1");
        lookup->chooseRelease(1);
        EXPECT_EQ(caption("lblTrack", 2), "Two 3");
        EXPECT_FALSE(rowVisible(3));
        lookup->cmdMerge_Click();
        ASSERT_EQ(chosen.size(), 1u);
        EXPECT_EQ(chosen[0].title, "Reissue");
        EXPECT_EQ(chosen[0].tracks, (Tracks{{1, "Two 1"}, {2, "Two 2"}, {3, "Two 3"}}));
        ASSERT_EQ(release.size(), 1);
        EXPECT_EQ(release.at(0).at(0).toString(), "r2");
        settle();
    }
}

// Every row caption fits its place from the start, "Track 10 :" and "Track 20 :" included.
TEST_F(LookupTest, RowCaptionsFitTheirPlacesDuringTheSearch) {
    open(kAsked, fetcher);
    for (const int i : {9, 19}) {
        QLabel* label = control<QLabel>("lblT", i);
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width()) << i;
    }
}
