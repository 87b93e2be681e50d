// Transport through command strings, with the simulated drive's clock moved by hand.
#include "mci_test_support.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing_support::knownDisc;
using testing_support::makeToc;
using testing_support::MciRig;

struct TmsfRig : MciRig {
    TmsfRig() { EXPECT_EQ(code("set cd time format tmsf wait"), 0); }
    std::string position() { return reply("status cd position"); }
    std::string mode() { return reply("status cd mode"); }
};

TEST(MciTransport, PlayAdvancesWithTheClock) {
    TmsfRig rig;
    ASSERT_EQ(rig.code("play cd from 2"), 0);
    EXPECT_EQ(rig.mode(), "playing");
    EXPECT_EQ(rig.position(), "02:00:00:00");
    rig.clock->advanceMs(1500);
    EXPECT_EQ(rig.position(), "02:00:01:37");
    rig.clock->advanceMs(60000);
    EXPECT_EQ(rig.position(), "02:01:01:37");
    EXPECT_EQ(rig.reply("status cd current track"), "2");
}

TEST(MciTransport, PlayWithoutFromStartsAtTheHead) {
    TmsfRig rig;
    ASSERT_EQ(rig.code("seek cd to 3"), 0);
    ASSERT_EQ(rig.code("play cd"), 0);
    rig.clock->advanceMs(2000);
    EXPECT_EQ(rig.position(), "03:00:02:00");
    // While playing, a bare play carries on where it is.
    ASSERT_EQ(rig.code("play cd"), 0);
    rig.clock->advanceMs(1000);
    EXPECT_EQ(rig.position(), "03:00:03:00");
}

TEST(MciTransport, PauseKeepsThePositionAndResumeGoesOn) {
    TmsfRig rig;
    ASSERT_EQ(rig.code("play cd from 1"), 0);
    rig.clock->advanceMs(2000);
    ASSERT_EQ(rig.code("pause cd"), 0);
    EXPECT_EQ(rig.mode(), "paused");
    rig.clock->advanceMs(5000);
    EXPECT_EQ(rig.position(), "01:00:02:00");
    ASSERT_EQ(rig.code("resume cd"), 0);
    EXPECT_EQ(rig.mode(), "playing");
    rig.clock->advanceMs(1000);
    EXPECT_EQ(rig.position(), "01:00:03:00");
    // Play after pause also continues from the paused spot.
    ASSERT_EQ(rig.code("pause cd"), 0);
    ASSERT_EQ(rig.code("play cd"), 0);
    rig.clock->advanceMs(1000);
    EXPECT_EQ(rig.position(), "01:00:04:00");
}

TEST(MciTransport, ResumeWithoutAPausedPlayIsAHardwareError) {
    TmsfRig rig;
    EXPECT_EQ(rig.code("resume cd"), 262);
    ASSERT_EQ(rig.code("play cd from 1"), 0);
    ASSERT_EQ(rig.code("stop cd"), 0);
    EXPECT_EQ(rig.code("resume cd"), 262);
    EXPECT_EQ(rig.mode(), "stopped");
}

TEST(MciTransport, StopReturnsToTheDiscStartAndTheSeekOfStopRestoresTheTrack) {
    TmsfRig rig;
    ASSERT_EQ(rig.code("play cd from 2"), 0);
    rig.clock->advanceMs(7000);
    ASSERT_EQ(rig.code("stop cd wait"), 0);
    EXPECT_EQ(rig.mode(), "stopped");
    EXPECT_EQ(rig.position(), "01:00:00:00");
    // The player's Stop follows with "seek cd to <current track>"; Play then starts there.
    ASSERT_EQ(rig.code("seek cd to 2"), 0);
    ASSERT_EQ(rig.code("play cd"), 0);
    EXPECT_EQ(rig.position(), "02:00:00:00");
    EXPECT_EQ(rig.mode(), "playing");
}

TEST(MciTransport, SeekStopsPlayback) {
    TmsfRig rig;
    ASSERT_EQ(rig.code("play cd from 1"), 0);
    ASSERT_EQ(rig.code("seek cd to 3"), 0);
    EXPECT_EQ(rig.mode(), "stopped");
    rig.clock->advanceMs(5000);
    EXPECT_EQ(rig.position(), "03:00:00:00");
    ASSERT_EQ(rig.code("seek cd to start"), 0);
    EXPECT_EQ(rig.position(), "01:00:00:00");
}

TEST(MciTransport, TheEndOfTheDiscStopsPlaybackAtTheReportedLength) {
    TmsfRig rig;
    ASSERT_EQ(rig.code("play cd from 3"), 0);
    rig.clock->advanceMs(10 * 60 * 1000);
    EXPECT_EQ(rig.mode(), "stopped");
    // The head rests where the last track's length says it ends.
    EXPECT_EQ(rig.reply("status cd length track 3"), "04:26:49");
    EXPECT_EQ(rig.position(), "03:04:26:49");
    ASSERT_EQ(rig.code("set cd time format msf"), 0);
    EXPECT_EQ(rig.position(), "13:19:74");
    ASSERT_EQ(rig.code("seek cd to end"), 0);
    EXPECT_EQ(rig.position(), "13:19:74");
    // Nothing is left to play; the command is accepted and the drive stays stopped.
    EXPECT_EQ(rig.code("play cd"), 0);
    EXPECT_EQ(rig.mode(), "stopped");
}

TEST(MciTransport, PlayToStopsThere) {
    TmsfRig rig;
    ASSERT_EQ(rig.code("play cd from 1 to 2"), 0);
    rig.clock->advanceMs(10 * 60 * 1000);
    EXPECT_EQ(rig.mode(), "stopped");
    EXPECT_EQ(rig.position(), "02:00:00:00");
}

TEST(MciTransport, FastForwardAndRewindInMilliseconds) {
    TmsfRig rig;
    ASSERT_EQ(rig.code("play cd from 1"), 0);
    rig.clock->advanceMs(10000);
    ASSERT_EQ(rig.code("set cd time format milliseconds"), 0);
    EXPECT_EQ(rig.reply("status cd position wait"), "12001");
    // Fast-forward: +5000 ms.
    ASSERT_EQ(rig.code("play cd from 17001"), 0);
    EXPECT_EQ(rig.reply("status cd position wait"), "17001");
    EXPECT_EQ(rig.reply("status cd mode"), "playing");
    ASSERT_EQ(rig.code("set cd time format tmsf"), 0);
    EXPECT_EQ(rig.position(), "01:00:15:00");
}

TEST(MciTransport, RewindBeforeTheDiscStartIsRefusedAndPlaybackGoesOn) {
    TmsfRig rig;
    ASSERT_EQ(rig.code("play cd from 1"), 0);
    rig.clock->advanceMs(1000);
    ASSERT_EQ(rig.code("set cd time format milliseconds"), 0);
    EXPECT_EQ(rig.reply("status cd position wait"), "3001");
    EXPECT_EQ(rig.code("play cd from -1999"), 282);
    EXPECT_EQ(rig.reply("status cd mode"), "playing");
    rig.clock->advanceMs(1000);
    EXPECT_EQ(rig.reply("status cd position wait"), "4001");
    // A target inside the lead-in plays from the first track.
    ASSERT_EQ(rig.code("play cd from 1000"), 0);
    EXPECT_EQ(rig.reply("status cd position wait"), "2001");
}

TEST(MciTransport, PositionsBeyondTheDiscAreOutOfRange) {
    TmsfRig rig;
    ASSERT_EQ(rig.code("play cd from 2"), 0);
    struct Case {
        const char* format;
        const char* command;
    } cases[] = {
        {"tmsf", "play cd from 3:5:0"},
        {"tmsf", "play cd from 4"},
        {"tmsf", "play cd from 0"},
        {"tmsf", "seek cd to 255"},
        {"tmsf", "play cd from 2 to 1"},
        {"tmsf", "play cd from 1:0:60"},
        {"msf", "play cd from 00:02:00 to 00:01:00"},
        {"msf", "seek cd to 13:20"},
        {"msf", "seek cd to 1:60"},
        {"msf", "seek cd to 1:0:75"},
        {"msf", "play cd from 1 to 14"},
        {"ms", "seek cd to 800000"},
        {"ms", "play cd from 4294967295"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(rig.code(std::string("set cd time format ") + c.format), 0);
        EXPECT_EQ(rig.code(c.command), 282) << c.command << " in " << c.format;
    }
    // None of the refusals touched the play.
    EXPECT_EQ(rig.mode(), "playing");
    ASSERT_EQ(rig.code("set cd time format msf"), 0);
    EXPECT_EQ(rig.code("seek cd to 13:19:74"), 0);
}

TEST(MciTransport, DoorOpenEjectsAndClosingBringsTheDiscBack) {
    TmsfRig rig;
    ASSERT_EQ(rig.code("play cd from 2"), 0);
    ASSERT_EQ(rig.code("set cd door open"), 0);
    EXPECT_EQ(rig.mode(), "open");
    EXPECT_EQ(rig.reply("status cd media present"), "false");
    EXPECT_EQ(rig.reply("status cd ready"), "false");
    EXPECT_EQ(rig.code("status cd number of tracks"), 276);
    EXPECT_EQ(rig.code("status cd position"), 276);
    EXPECT_EQ(rig.code("play cd"), 276);
    ASSERT_EQ(rig.code("set cd door closed"), 0);
    EXPECT_EQ(rig.reply("status cd media present"), "true");
    EXPECT_EQ(rig.mode(), "stopped");
    EXPECT_EQ(rig.reply("status cd number of tracks"), "3");
    EXPECT_EQ(rig.position(), "01:00:00:00");
}

TEST(MciTransport, DiscSwapAndRemovalShowAtTheNextQuery) {
    TmsfRig rig;
    rig.drive->remove();
    EXPECT_EQ(rig.reply("status cd media present"), "false");
    EXPECT_EQ(rig.mode(), "not ready");
    EXPECT_EQ(rig.code("status cd type track 1"), 276);
    // Eject on an empty, closed drive opens the tray.
    ASSERT_EQ(rig.code("set cd door open"), 0);
    EXPECT_EQ(rig.mode(), "open");
    rig.drive->insert(makeToc({150, 5000, 9000, 13000, 17000}, 21000));
    EXPECT_EQ(rig.reply("status cd media present"), "true");
    EXPECT_EQ(rig.reply("status cd number of tracks"), "5");
    // The time format belongs to the device, not the disc.
    EXPECT_EQ(rig.reply("status cd time format"), "tmsf");
}

TEST(MciTransport, EmptyDriveAnswersPresenceAndModeAndRefusesTheRest) {
    MciRig rig(std::nullopt);
    EXPECT_EQ(rig.reply("status cd media present"), "false");
    EXPECT_EQ(rig.reply("status cd mode"), "not ready");
    EXPECT_EQ(rig.reply("status cd time format"), "msf");
    for (const char* command :
         {"status cd number of tracks wait", "status cd length wait", "status cd length track 1",
          "status cd position", "status cd position track 1", "status cd type track 1",
          "status cd current track", "play cd", "play cd from 1", "seek cd to 1", "stop cd wait",
          "pause cd", "resume cd"})
        EXPECT_EQ(rig.code(command), 276) << command;
}

// Data tracks: 1 data, 2 and 3 audio, 4 data (an enhanced disc).
struct DataDiscRig : TmsfRig {
    DataDiscRig() { drive->insert(makeToc({150, 10000, 20000, 30000}, 40000, {1, 4})); }
};

TEST(MciTransport, DataTracksAreTypedOtherAndSkippedWhenPlaying) {
    DataDiscRig rig;
    EXPECT_EQ(rig.reply("status cd type track 1"), "other");
    EXPECT_EQ(rig.reply("status cd type track 2"), "audio");
    EXPECT_EQ(rig.reply("status cd type track 4"), "other");
    ASSERT_EQ(rig.code("play cd from 1"), 0);
    EXPECT_EQ(rig.position(), "02:00:00:00");
    ASSERT_EQ(rig.code("stop cd"), 0);
    ASSERT_EQ(rig.code("play cd"), 0);
    EXPECT_EQ(rig.position(), "02:00:00:00");
    // No audio after the trailing data track.
    EXPECT_EQ(rig.code("play cd from 4"), 282);
}

TEST(MciTransport, PlaybackEndsBeforeTrailingDataTracks) {
    DataDiscRig rig;
    ASSERT_EQ(rig.code("play cd from 3"), 0);
    rig.clock->advanceMs(10 * 60 * 1000);
    EXPECT_EQ(rig.mode(), "stopped");
    EXPECT_EQ(rig.reply("status cd current track"), "3");
    EXPECT_EQ(rig.position(), "03:02:13:24");
}

}  // namespace
}  // namespace velmora
