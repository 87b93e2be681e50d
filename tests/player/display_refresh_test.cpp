#include "player_fixture.h"

#include <tuple>

using namespace velmora;
using namespace velmora::test;

using DisplayRefreshTest = PlayerFixture;

namespace {
// play stop pause jump next previous
std::string enables(const PlayerState& s) {
    std::string out;
    for (bool on :
         {s.enables.play, s.enables.stop, s.enables.pause, s.enables.jump, s.enables.next, s.enables.previous})
        out += on ? '1' : '0';
    return out;
}
}  // namespace

TEST_F(DisplayRefreshTest, PositionAndBarFollowTheDrive) {
    struct Case {
        std::string position;
        std::string length;
        int track, minute, second, bar;
    } cases[] = {
        {"03:01:05:20", "04:10:00", 3, 1, 5, 434},   // Int(65 / 250 x 1670)
        {"01:05:00:00", "04:10:00", 1, 5, 0, 2004},  // past the reported length: not clamped
        {"05:00:30:00", "", 5, 0, 30, 0},            // track 5 of a 4-track disc: an empty bar
    };
    for (const auto& tc : cases) {
        mci.audioDisc(4, tc.position);
        if (tc.track <= 4) mci.answer("status cd length track " + std::to_string(tc.track), tc.length);
        core.refresh.UpdateDisplay();
        const PlayerState& s = core.session.state();
        EXPECT_EQ(s.CurrentTrack, tc.track) << tc.position;
        EXPECT_EQ(s.CurrentMinute, tc.minute) << tc.position;
        EXPECT_EQ(s.CurrentSecond, tc.second) << tc.position;
        EXPECT_EQ(s.barWidthTwips, tc.bar) << tc.position;
    }
}

TEST_F(DisplayRefreshTest, DiscChangesAreReadAndANewDiscIsIdentifiedOnce) {
    // A known disc: one length query per track, and no identification.
    mci.audioDisc(99, "99:03:00:00");
    core.refresh.UpdateDisplay();
    EXPECT_EQ(mci.sent.size(), 5u + 99u);
    EXPECT_EQ(mci.sent[101], "status cd length track 99");
    const PlayerState before = core.session.state();

    mci.answers.clear();
    mci.answer("status cd media present", "false");
    core.refresh.UpdateDisplay();
    const PlayerState& s = core.session.state();
    EXPECT_EQ(s.discKind, DiscKind::None);
    EXPECT_EQ(enables(s), "000000");
    EXPECT_TRUE(core.session.disc().ID.isEmpty());  // the next audio disc is identified anew
    EXPECT_EQ(s.CurrentTrack, before.CurrentTrack);
    EXPECT_EQ(s.barWidthTwips, before.barWidthTwips);
    EXPECT_EQ(s.NumTracks, 99);  // kept for the picker

    // A data disc next: named, and nothing more is asked.
    mci.answer("status cd media present", "true");
    mci.answer("status cd type track 1", "other");
    mci.sent.clear();
    core.refresh.UpdateDisplay();
    EXPECT_EQ(mci.sent, (Commands{"status cd media present", "status cd type track 1"}));
    EXPECT_EQ(core.session.state().discKind, DiscKind::Data);
    EXPECT_EQ(enables(core.session.state()), "000000");

    // An audio disc, new to the player, is identified once; with no track count the lengths of the last stay.
    mci.audioDisc(3, "01:00:00:00");
    mci.accept({"set cd time format msf", "set cd time format tmsf", "status cd length wait"});
    mci.answer("status cd number of tracks wait", "");
    core.identity.GetCDINFO(QStringLiteral("0"));  // an ID of 0 is no ID either
    mci.sent.clear();
    core.refresh.UpdateDisplay();
    EXPECT_EQ(count(mci.sent, "set cd time format msf"), 1);
    EXPECT_FALSE(core.session.disc().ID.isEmpty());
    EXPECT_EQ(core.session.state().NumTracks, 0);
    EXPECT_EQ(core.session.state().TrackLengths.size(), 99);
}

TEST_F(DisplayRefreshTest, TimerRefreshesThroughItsGateEnablesFollowTheModeAndOnlyChangesAreAnnounced) {
    int status = 0, position = 0, discs = 0;
    QObject::connect(&core.session, &PlayerSession::stateChanged, [&] { ++status; });
    QObject::connect(&core.session, &PlayerSession::positionChanged, [&] { ++position; });
    QObject::connect(&core.session, &PlayerSession::discChanged, [&] { ++discs; });
    mci.audioDisc(3, "01:00:01:00");
    bool shown = true;
    core.refresh.setGate([&] { return shown; });
    core.refresh.tmrUpdate_Timer();
    EXPECT_EQ(refreshes(), 1);
    EXPECT_EQ(enables(core.session.state()), "011111");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(position, 1);
    discs = 0;
    core.refresh.UpdateDisplay();  // nothing moved
    EXPECT_EQ(status, 1);
    EXPECT_EQ(position, 1);
    mci.answer("status cd position", "01:00:02:00");
    core.refresh.UpdateDisplay();
    EXPECT_EQ(position, 2);
    EXPECT_EQ(status, 1);
    mci.answer("status cd mode", "paused");
    core.refresh.UpdateDisplay();
    EXPECT_TRUE(core.session.state().Paused);
    EXPECT_EQ(enables(core.session.state()), "100011");
    EXPECT_EQ(status, 2);
    EXPECT_EQ(discs, 0);
    DiscRecord typed = core.session.disc();
    typed.Title = QStringLiteral("Typed");
    core.session.takeEditedDisc(typed.ID, typed);
    EXPECT_EQ(discs, 1);
}

TEST_F(DisplayRefreshTest, PlaybackThatStoppedOnAFailureIsToldInItsOwnWordsEachTimeItHappens) {
    QStringList told;
    QObject::connect(&core.session, &PlayerSession::problem, [&](const QString& text) { told << text; });
    const std::string failure = "The sound output stopped: Input/output error";
    at(2, 1, 30, true);
    mci.answer("status cd mode", "stopped");
    mci.failure = failure;
    core.refresh.UpdateDisplay();
    core.refresh.UpdateDisplay();
    EXPECT_FALSE(core.session.state().Playing);
    mci.failure = failure;  // the same again, after a Play
    core.refresh.UpdateDisplay();
    EXPECT_EQ(told, QStringList(2, QString::fromStdString(failure)));
}

// Put away, the timer's tick follows the drive with no more than it needs: presence,
// position (to the frame) and mode of the known disc; a disc it does not know yet, a whole refresh.
TEST_F(DisplayRefreshTest, APutAwayPlayerFollowsTheDriveWithoutTheWholeRefresh) {
    mci.audioDisc(3, "01:00:01:00");
    core.refresh.UpdateDisplay();
    core.refresh.setGate([] { return false; });
    const Commands follow{"status cd media present", "status cd position", "status cd mode"};
    const struct {
        std::string present, position, mode;
        Commands sent;  // empty: a whole refresh
        const char* enables;
        int track, second, frame;
    } steps[] = {
        {"true", "02:00:07:42", "playing", follow, "011111", 2, 7, 42},
        {"true", "02:00:08:10", "paused", follow, "100011", 2, 8, 10},
        {"false", "", "open", {"status cd media present"}, "000000", 2, 8, 10},  // taken out
        {"true", "01:00:00:00", "stopped", {}, "100011", 1, 0, 0},               // back in
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.position + " " + step.mode);
        mci.answer("status cd media present", step.present);
        mci.answer("status cd position", step.position);
        mci.answer("status cd mode", step.mode);
        mci.sent.clear();
        core.refresh.tmrUpdate_Timer();
        if (step.sent.empty()) EXPECT_EQ(refreshes(), 1);
        else EXPECT_EQ(mci.sent, step.sent);
        const PlayerState& s = core.session.state();
        EXPECT_EQ(enables(s), step.enables);
        EXPECT_EQ(std::make_tuple(s.CurrentTrack, s.CurrentSecond, s.CurrentFrame),
                  std::make_tuple(step.track, step.second, step.frame));
    }
}
