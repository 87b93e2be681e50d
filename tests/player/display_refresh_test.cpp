#include "player_fixture.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

using namespace velmora;
using namespace velmora::test;

namespace {
const QChar kNul(u'\0');

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};
}  // namespace

using DisplayRefreshTest = PlayerFixture;

TEST_F(DisplayRefreshTest, ReadoutAndBarFollowThePosition) {
    struct Case {
        std::string position;
        std::string length;
        const char* leds;
        int bar;
    } cases[] = {
        {"03:01:05:20", "04:10:00", "030105", 434},  // Int(65 / 250 x 1670)
        {"07:00:00:00", "04:10:00", "070000", 0},
        {"12:04:09:74", "04:10:00", "120409", 1663},
        {"01:05:00:00", "04:10:00", "010500", 2004},  // past the reported length: not clamped
        {"02:00:30:00", "00:00:50", "020030", 0},     // a zero-second length gives an empty bar
    };
    for (const auto& tc : cases) {
        mci.audioDisc(12, tc.position);
        mci.answer("status cd length track " + std::to_string(std::stoi(tc.position.substr(0, 2))), tc.length);
        refresh->UpdateDisplay();
        EXPECT_EQ(leds(), QString::fromLatin1(tc.leds)) << tc.position;
        EXPECT_EQ(c.StatusBar->widthTwips(), tc.bar) << tc.position;
        EXPECT_EQ(state.ProgressWidth, tc.bar) << tc.position;
    }
}

TEST_F(DisplayRefreshTest, TrackDigitsRewrittenOnlyWhenTheTrackChanges) {
    mci.audioDisc(12, "09:00:01:00");
    refresh->UpdateDisplay();
    EXPECT_EQ(leds().left(2), "09");
    mci.answer("status cd position", "10:00:00:10");
    refresh->UpdateDisplay();
    EXPECT_EQ(leds().left(2), "10");
    // Another tick on the same track: the digits that read back 1 and 0 stay as they are,
    // even when someone else wrote to them in between.
    refresh->UpdateDisplay();
    EXPECT_EQ(state.CurrentTrack, 10);
    c.ledTRK[0]->setDigit(1);
    c.ledTRK[1]->setDigit(0);
    refresh->UpdateDisplay();
    EXPECT_EQ(leds().left(2), "10");
}

TEST_F(DisplayRefreshTest, EnableStatesFollowTheMode) {
    struct Case {
        std::string mode;
        bool playing;
        std::string states;
    } cases[] = {
        {"playing", true, "001111111111"},
        {"paused", false, "110000001111"},
        {"stopped", false, "110000001111"},
        {"seeking", false, "110000001111"},
        {"not ready", false, "110000001111"},
    };
    for (const auto& tc : cases) {
        mci.audioDisc(5, "01:00:10:00", tc.mode);
        refresh->UpdateDisplay();
        EXPECT_EQ(state.Playing, tc.playing) << tc.mode;
        EXPECT_EQ(enabledStates(), tc.states) << tc.mode;
    }
}

TEST_F(DisplayRefreshTest, RemovedDiscDisablesAndFreezesTheReadout) {
    mci.audioDisc(12, "04:02:03:00");
    state.CurrentDisc.ID = "1C02F203";
    refresh->UpdateDisplay();
    const QString before = leds();
    const int bar = c.StatusBar->widthTwips();

    mci.answers.clear();
    mci.answer("status cd media present", "false");
    refresh->UpdateDisplay();
    EXPECT_EQ(enabledStates(), "000000000000");
    EXPECT_EQ(c.lblCDName->text(), " ");
    EXPECT_EQ(c.lblArtist->text(), "No Disc Loaded");
    EXPECT_EQ(c.lblTrk->text(), " ");
    EXPECT_TRUE(state.CurrentDisc.ID.isEmpty());
    EXPECT_EQ(state.CurrentDisc.Revision, 1);
    EXPECT_EQ(leds(), before);
    EXPECT_EQ(c.StatusBar->widthTwips(), bar);
    EXPECT_EQ(state.NumTracks, 12);  // kept for the picker
}

TEST_F(DisplayRefreshTest, DataDiscIsNotIdentified) {
    mci.answer("status cd media present", "true");
    mci.answer("status cd type track 1", "other");
    refresh->UpdateDisplay();
    EXPECT_EQ(identifications, 0);
    EXPECT_EQ(c.lblArtist->text(), "Data CD Loaded");
    EXPECT_EQ(c.lblCDName->text(), " ");
    EXPECT_EQ(enabledStates(), "000000000000");
    // Nothing past the type query is asked of a data disc.
    EXPECT_EQ(mci.sent.back(), "status cd type track 1");
}

TEST_F(DisplayRefreshTest, NewAudioDiscIsIdentifiedOnce) {
    mci.audioDisc(3, "01:00:00:00");
    refresh->UpdateDisplay();
    EXPECT_EQ(identifications, 2);  // the fake loader leaves the ID empty: asked again at the end
    state.CurrentDisc.ID = "0";
    identifications = 0;
    refresh->UpdateDisplay();
    EXPECT_EQ(identifications, 1);
    state.CurrentDisc.ID = "12345678";
    identifications = 0;
    refresh->UpdateDisplay();
    EXPECT_EQ(identifications, 0);
}

TEST_F(DisplayRefreshTest, NinetyNineTrackDiscSendsOneLengthQueryPerTrack) {
    mci.audioDisc(99, "99:03:00:00");
    state.CurrentDisc.ID = "ABCDEF63";
    refresh->UpdateDisplay();
    EXPECT_EQ(state.NumTracks, 99);
    EXPECT_EQ(state.TrackLengths.size(), 99);
    EXPECT_EQ(leds(), "990300");
    EXPECT_EQ(mci.sent.size(), 5u + 99u);
    EXPECT_EQ(mci.sent[3], "status cd length track 1");
    EXPECT_EQ(mci.sent[101], "status cd length track 99");
}

TEST_F(DisplayRefreshTest, TrackCountOfZeroKeepsTheLastLengths) {
    mci.audioDisc(4, "02:00:10:00");
    state.CurrentDisc.ID = "X";
    refresh->UpdateDisplay();
    ASSERT_EQ(state.TrackLengths.size(), 4);
    mci.answer("status cd number of tracks wait", "");
    refresh->UpdateDisplay();
    EXPECT_EQ(state.NumTracks, 0);
    EXPECT_EQ(state.TrackLengths.size(), 4);
}

TEST_F(DisplayRefreshTest, TrackWithoutAStoredLengthEmptiesTheBar) {
    mci.audioDisc(2, "01:01:00:00");
    state.CurrentDisc.ID = "X";
    refresh->UpdateDisplay();
    ASSERT_GT(c.StatusBar->widthTwips(), 0);
    mci.answer("status cd position", "05:00:30:00");  // track 5 of a 2-track disc
    refresh->UpdateDisplay();
    EXPECT_EQ(c.StatusBar->widthTwips(), 0);
}

TEST_F(DisplayRefreshTest, TrackTitleShownForTracksOneToTwenty) {
    state.CurrentDisc.ID = "X";
    state.CurrentDisc.Title = QStringLiteral("Album") + kNul;
    state.CurrentDisc.Artist = QStringLiteral("Band") + kNul;
    for (int n = 1; n <= 30; ++n) state.CurrentDisc.track(n) = QStringLiteral("Song %1").arg(n) + kNul;
    struct Case {
        std::string position;
        QString title;
    } cases[] = {{"20:00:01:00", "Song 20"}, {"21:00:01:00", ""}, {"00:00:00:00", ""}, {"01:00:01:00", "Song 1"}};
    for (const auto& tc : cases) {
        mci.audioDisc(25, tc.position);
        refresh->UpdateDisplay();
        EXPECT_EQ(c.lblTrk->text(), tc.title) << tc.position;
    }
    EXPECT_EQ(c.lblCDName->text(), "Album");
    EXPECT_EQ(c.lblCDName->toolTip(), "Album");
    EXPECT_EQ(c.lblArtist->text(), "Band");
}

TEST_F(DisplayRefreshTest, UnchangedTitleIsNotRepainted) {
    window.show();
    for (int i = 0; i < 20 && !window.windowHandle()->isExposed(); ++i) QCoreApplication::processEvents();
    state.CurrentDisc.ID = "X";
    state.CurrentDisc.Title = QStringLiteral("T") + kNul;
    state.CurrentDisc.Artist = QStringLiteral("A") + kNul;
    mci.audioDisc(3, "01:00:01:00");
    refresh->UpdateDisplay();
    ASSERT_EQ(c.lblCDName->text(), "T");
    PaintCounter counter;
    c.lblCDName->installEventFilter(&counter);
    refresh->UpdateDisplay();
    refresh->UpdateDisplay();
    EXPECT_EQ(counter.paints, 0);
    EXPECT_EQ(c.lblCDName->text(), "T");

    // A title saved by the editor has no NUL; it is shown whole.
    state.CurrentDisc.Title = QStringLiteral("Typed");
    refresh->UpdateDisplay();
    EXPECT_EQ(c.lblCDName->text(), "Typed");
    EXPECT_GE(counter.paints, 1);
}

TEST_F(DisplayRefreshTest, TimerRefreshesOnlyWhileTheWindowIsVisible) {
    mci.audioDisc(3, "01:00:01:00");
    refresh->tmrUpdate_Timer();
    EXPECT_TRUE(mci.sent.empty());
    window.show();
    refresh->tmrUpdate_Timer();
    EXPECT_FALSE(mci.sent.empty());
}

TEST_F(DisplayRefreshTest, ShowTrackNumberAndTimeWriteDigitsFromTheEnd) {
    refresh->ShowTrackNumber("07");
    refresh->ShowTrackTime("0105");
    EXPECT_EQ(leds(), "070105");
    refresh->ShowTrackNumber("12");
    refresh->ShowTrackTime("12345");  // minutes past 99: the last four characters show
    EXPECT_EQ(leds(), "122345");
}
