#include "player_fixture.h"

using namespace velmora;
using namespace velmora::test;

class TransportTest : public PlayerFixture {
protected:
    TransportTest() {
        mci.audioDisc(12, "05:02:10:00");
        mci.accept({"play cd", "pause cd", "stop cd wait", "set cd door open", "set cd door closed",
                    "set cd time format milliseconds", "set cd time format tmsf"});
        for (int n = 1; n <= 12; ++n)
            mci.accept({"seek cd to " + std::to_string(n), "play cd from " + std::to_string(n)});
    }
    Transport& transport() { return core.transport; }
};

TEST_F(TransportTest, TrackChangesPlayOrSeekByTheTransportState) {
    enum Action { Previous, Next, Pick };
    const char* const names[] = {"previous", "next", "pick"};
    struct Case {
        Action action;
        int track, minute, second;
        bool playing;
        Commands expected;  // before the refresh; Previous does not refresh
    } cases[] = {
        {Previous, 4, 0, 5, false, {"seek cd to 3"}},  // within the first seconds: the track before
        {Previous, 4, 0, 6, true, {"play cd from 4"}},
        {Previous, 4, 1, 0, false, {"seek cd to 4"}},
        {Previous, 1, 0, 3, true, {}},
        {Next, 3, 1, 0, true, {"play cd from 4"}},
        {Next, 12, 1, 0, true, {}},                // last track: only a refresh
        {Pick, 5, 0, 1, false, {"seek cd to 5"}},  // the picker's line, not the current track
        {Pick, 13, 0, 1, true, {}},                // a line beyond the disc only refreshes
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(testing::Message() << names[tc.action] << " at " << tc.track << " " << tc.minute << ":"
                                        << tc.second << (tc.playing ? " playing" : ""));
        at(tc.action == Pick ? 2 : tc.track, tc.minute, tc.second, tc.playing);
        mci.sent.clear();
        if (tc.action == Previous) transport().PreviousTrack();
        else if (tc.action == Next) transport().NextTrack();
        else core.picker.pick(tc.track);
        EXPECT_EQ(commandsBeforeRefresh(), tc.expected);
        EXPECT_EQ(refreshes(), tc.action == Previous ? 0 : 1);
    }
}

TEST_F(TransportTest, StopPlayAndPauseSetTheStateAndTheRefreshRateAndRefusalsAreReportedAndReturned) {
    at(5, 2, 10, true);
    mci.fail("stop cd wait", 276);
    const CommandResult stop = transport().Stop();
    EXPECT_EQ(commandsBeforeRefresh(), (Commands{"stop cd wait", "seek cd to 5"}));  // the rest still runs
    EXPECT_EQ(stop.outcome, CommandResult::Outcome::Failed);
    EXPECT_EQ(stop.error, "error text 276");
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(refreshes(), 1);
    EXPECT_EQ(core.session.tmrUpdate()->interval(), 3000);

    mci.sent.clear();
    EXPECT_TRUE(transport().Play().ok());
    EXPECT_EQ(mci.sent, (Commands{"play cd"}));
    EXPECT_TRUE(core.session.state().Playing);
    EXPECT_EQ(core.session.tmrUpdate()->interval(), 1000);

    mci.sent.clear();
    mci.answer("status cd mode", "paused");
    transport().Pause();
    EXPECT_EQ(commandsBeforeRefresh(), (Commands{"pause cd"}));
    EXPECT_EQ(refreshes(), 1);
    EXPECT_FALSE(core.session.state().Playing);

    // A refused play leaves the player not playing: nothing claims it plays.
    mci.fail("play cd", 262);
    EXPECT_EQ(transport().Play().code, 262);
    EXPECT_FALSE(core.session.state().Playing);
}

TEST_F(TransportTest, EjectClosesAnOpenDoorElseOpensIt) {
    mci.answer("status cd mode", "open");
    transport().Eject();
    EXPECT_EQ(mci.sent, (Commands{"status cd mode", "set cd door closed"}));
    mci.answer("status cd mode", "");  // no disc, no reply
    mci.sent.clear();
    transport().Eject();
    EXPECT_EQ(mci.sent, (Commands{"status cd mode", "set cd door open"}));
}

TEST_F(TransportTest, FastForwardAndRewindJumpFromTheDiscPositionInOneStep) {
    const std::string ms = "set cd time format milliseconds", tmsf = "set cd time format tmsf";
    struct Case {
        bool forward;
        bool playing;
        std::string position;
        Commands expected;
    } cases[] = {
        {true, true, "12000", {ms, "status cd position wait", "play cd from 17000", tmsf}},
        {false, true, "3000", {ms, "status cd position wait", "play cd from -2000", tmsf}},
        {true, false, "12000", {ms, "status cd position wait", tmsf}},
        // No position: nothing to jump from, but the format goes back to tmsf.
        {true, true, "", {ms, "status cd position wait", tmsf}},
    };
    for (const auto& tc : cases) {
        at(1, 0, 12, tc.playing);
        mci.answer("status cd position wait", tc.position);
        mci.sent.clear();
        tc.forward ? transport().FastForward() : transport().Rewind();
        EXPECT_EQ(commandsBeforeRefresh(), tc.expected) << tc.position;
        EXPECT_EQ(refreshes(), 1);
    }
    EXPECT_TRUE(boxes.shown.empty());  // a jump the drive refuses is silent
}

TEST_F(TransportTest, TrackListHasOneLinePerTrack) {
    DiscRecord titled = core.session.disc();
    titled.track(1) = QStringLiteral("Title 1");
    core.session.takeEditedDisc(titled.ID, titled);
    at(1, 0, 0, false, 12);
    const QStringList lines = core.picker.lines();
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines[0], "Track 1 - Title 1");
    EXPECT_EQ(lines[11], "Track 12 - ");  // an untitled track keeps the dash and blank
}
