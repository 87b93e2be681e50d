#include "player_fixture.h"

using namespace velmora;
using namespace velmora::test;

namespace {
using Commands = std::vector<std::string>;
}

class TransportTest : public PlayerFixture {
protected:
    void at(int track, int minute, int second, bool playing, int tracks = 12) {
        state.CurrentTrack = static_cast<std::int16_t>(track);
        state.CurrentMinute = static_cast<std::int16_t>(minute);
        state.CurrentSecond = static_cast<std::int16_t>(second);
        state.NumTracks = static_cast<std::int16_t>(tracks);
        state.Playing = playing;
        state.SeekStep = 5;
    }
    // The commands a call sent, before the refresh it triggered.
    Commands commandsBeforeRefresh() {
        Commands out;
        for (const auto& s : mci.takeSent()) {
            if (s == "status cd media present") break;
            out.push_back(s);
        }
        return out;
    }
};

TEST_F(TransportTest, PreviousTrackRestartsOrStepsBack) {
    struct Case {
        int track, minute, second;
        bool playing;
        Commands expected;
    } cases[] = {
        {4, 0, 5, false, {"seek cd to 3"}},
        {4, 0, 5, true, {"play cd from 3"}},
        {4, 0, 6, true, {"play cd from 4"}},
        {4, 1, 0, false, {"seek cd to 4"}},
        {1, 0, 3, true, {}},
        {2, 0, 0, false, {"seek cd to 1"}},
    };
    for (const auto& tc : cases) {
        at(tc.track, tc.minute, tc.second, tc.playing);
        refreshes = 0;
        transport->PreviousTrack();
        EXPECT_EQ(mci.takeSent(), tc.expected) << tc.track << " " << tc.minute << ":" << tc.second;
        EXPECT_EQ(refreshes, 0);  // the next tick shows the new track
    }
}

TEST_F(TransportTest, NextTrackPlaysOrSeeksAndAlwaysRefreshes) {
    struct Case {
        int track;
        bool playing;
        Commands expected;
    } cases[] = {
        {3, true, {"play cd from 4"}},
        {3, false, {"seek cd to 4"}},
        {12, true, {}},  // last track: only a refresh
        {9, false, {"seek cd to 10"}},
    };
    for (const auto& tc : cases) {
        at(tc.track, 1, 0, tc.playing);
        refreshes = 0;
        transport->NextTrack();
        EXPECT_EQ(commandsBeforeRefresh(), tc.expected) << tc.track;
        EXPECT_EQ(refreshes, 1);
    }
}

TEST_F(TransportTest, StopReturnsToTheTrackStartAndSlowsTheRefresh) {
    at(5, 2, 10, true);
    transport->Stop();
    EXPECT_EQ(commandsBeforeRefresh(), (Commands{"stop cd wait", "seek cd to 5"}));
    EXPECT_FALSE(state.Playing);
    EXPECT_EQ(c.tmrUpdate->interval(), 3000);
    EXPECT_EQ(refreshes, 1);

    transport->Play();
    EXPECT_EQ(mci.takeSent(), (Commands{"play cd"}));
    EXPECT_TRUE(state.Playing);
    EXPECT_EQ(c.tmrUpdate->interval(), 1000);
}

TEST_F(TransportTest, FailedStopStillSeeksAndReports) {
    at(5, 0, 30, true);
    mci.fail("stop cd wait", 276);
    transport->Stop();
    EXPECT_EQ(commandsBeforeRefresh(), (Commands{"stop cd wait", "seek cd to 5"}));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "error text 276");
    EXPECT_EQ(boxes.shown[0].title, "Velmora");
    EXPECT_EQ(boxes.shown[0].style, 0);
}

TEST_F(TransportTest, PauseSendsAndRefreshes) {
    at(2, 0, 30, true);
    transport->Pause();
    EXPECT_EQ(commandsBeforeRefresh(), (Commands{"pause cd"}));
    EXPECT_FALSE(state.Playing);
    EXPECT_EQ(refreshes, 1);
}

TEST_F(TransportTest, EjectOpensOrClosesByMode) {
    struct Case {
        std::string mode;
        std::string command;
    } cases[] = {
        {"open", "set cd door closed"},
        {"stopped", "set cd door open"},
        {"playing", "set cd door open"},
        {"", "set cd door open"},  // no disc, no reply
    };
    for (const auto& tc : cases) {
        mci.answer("status cd mode", tc.mode);
        transport->Eject();
        EXPECT_EQ(mci.takeSent(), (Commands{"status cd mode", tc.command})) << tc.mode;
    }
}

TEST_F(TransportTest, FastForwardAndRewindJumpFromTheDiscPosition) {
    struct Case {
        bool forward;
        bool playing;
        std::string position;
        Commands expected;
    } cases[] = {
        {true, true, "12000",
         {"set cd time format milliseconds", "status cd position wait", "play cd from 17000",
          "set cd time format tmsf"}},
        {false, true, "3000",
         {"set cd time format milliseconds", "status cd position wait", "play cd from -2000",
          "set cd time format tmsf"}},
        {true, false, "12000",
         {"set cd time format milliseconds", "status cd position wait", "set cd time format tmsf"}},
        // No position: nothing to jump from, but the format goes back to tmsf.
        {true, true, "", {"set cd time format milliseconds", "status cd position wait", "set cd time format tmsf"}},
    };
    for (const auto& tc : cases) {
        at(1, 0, 12, tc.playing);
        mci.answer("status cd position wait", tc.position);
        refreshes = 0;
        tc.forward ? transport->FastForward() : transport->Rewind();
        EXPECT_EQ(commandsBeforeRefresh(), tc.expected) << tc.position;
        EXPECT_EQ(refreshes, 1);
    }
}

TEST_F(TransportTest, RefusedJumpIsSilent) {
    at(1, 0, 3, true);
    mci.answer("status cd position wait", "3000");
    mci.fail("play cd from -2000", 282);
    transport->Rewind();
    EXPECT_TRUE(boxes.shown.empty());
}
