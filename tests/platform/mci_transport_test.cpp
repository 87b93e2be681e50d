// Transport through command strings, with the simulated drive's clock moved by hand.
#include "mci_test_support.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing_support::makeToc;
using testing_support::MciRig;
using testing_support::Session;

const MciRig::Step kTmsf{"set cd time format tmsf wait", ""};

// Data tracks: 1 data, 2 and 3 audio, 4 data (an enhanced disc).
const DiscToc kDataDisc = makeToc({150, 10000, 20000, 30000}, 40000, {1, 4});

const Session kSessions[] = {
    {"PlayAdvancesWithTheClock",
     {kTmsf, {"play cd from 2", ""}, {"status cd mode", "playing"}, {"status cd position", "02:00:00:00"},
      {"+1500"}, {"status cd position", "02:00:01:37"},
      {"+60000"}, {"status cd position", "02:01:01:37"}, {"status cd current track", "2"}}},
    // While playing, a bare play carries on where it is.
    {"PlayWithoutFromStartsAtTheHead",
     {kTmsf, {"seek cd to 3", ""}, {"play cd", ""}, {"+2000"}, {"status cd position", "03:00:02:00"},
      {"play cd", ""}, {"+1000"}, {"status cd position", "03:00:03:00"}}},
    // Play after pause also continues from the paused spot.
    {"PauseKeepsThePositionAndResumeGoesOn",
     {kTmsf, {"play cd from 1", ""}, {"+2000"}, {"pause cd", ""}, {"status cd mode", "paused"},
      {"+5000"}, {"status cd position", "01:00:02:00"},
      {"resume cd", ""}, {"status cd mode", "playing"}, {"+1000"}, {"status cd position", "01:00:03:00"},
      {"pause cd", ""}, {"play cd", ""}, {"+1000"}, {"status cd position", "01:00:04:00"}}},
    {"ResumeWithoutAPausedPlayIsAHardwareError",
     {kTmsf, {"resume cd", "#262"}, {"play cd from 1", ""}, {"stop cd", ""}, {"resume cd", "#262"},
      {"status cd mode", "stopped"}}},
    // The player's Stop follows with "seek cd to <current track>"; Play then starts there.
    {"StopReturnsToTheDiscStartAndTheSeekOfStopRestoresTheTrack",
     {kTmsf, {"play cd from 2", ""}, {"+7000"}, {"stop cd wait", ""}, {"status cd mode", "stopped"},
      {"status cd position", "01:00:00:00"},
      {"seek cd to 2", ""}, {"play cd", ""}, {"status cd position", "02:00:00:00"}, {"status cd mode", "playing"}}},
    {"SeekStopsPlayback",
     {kTmsf, {"play cd from 1", ""}, {"seek cd to 3", ""}, {"status cd mode", "stopped"},
      {"+5000"}, {"status cd position", "03:00:00:00"},
      {"seek cd to start", ""}, {"status cd position", "01:00:00:00"}}},
    // The head rests where the last track's length says it ends; nothing is left to play,
    // so a play is accepted and the drive stays stopped.
    {"TheEndOfTheDiscStopsPlaybackAtTheReportedLength",
     {kTmsf, {"play cd from 3", ""}, {"+600000"}, {"status cd mode", "stopped"},
      {"status cd length track 3", "04:26:49"}, {"status cd position", "03:04:26:49"},
      {"set cd time format msf", ""}, {"status cd position", "13:19:74"},
      {"seek cd to end", ""}, {"status cd position", "13:19:74"},
      {"play cd", ""}, {"status cd mode", "stopped"}}},
    {"PlayToStopsThere",
     {kTmsf, {"play cd from 1 to 2", ""}, {"+600000"}, {"status cd mode", "stopped"},
      {"status cd position", "02:00:00:00"}}},
    // A target inside the lead-in plays from the first track; a refused one leaves the play going.
    {"PlayFromInMillisecondsWhilePlaying",
     {kTmsf, {"play cd from 1", ""}, {"+1000"}, {"set cd time format milliseconds", ""},
      {"status cd position wait", "3001"}, {"play cd from 17001", ""}, {"status cd position wait", "17001"},
      {"play cd from -1999", "#282"}, {"status cd mode", "playing"}, {"+1000"}, {"status cd position", "18001"},
      {"play cd from 1000", ""}, {"status cd position", "2001"}}},
    {"PositionsBeyondTheDiscAreOutOfRange",
     {kTmsf, {"play cd from 2", ""}, {"play cd from 3:5:0", "#282"}, {"play cd from 4", "#282"},
      {"play cd from 2 to 1", "#282"}, {"play cd from 1:0:60", "#282"}, {"set cd time format msf", ""},
      {"seek cd to 13:20", "#282"}, {"seek cd to 1:60", "#282"}, {"seek cd to 1:0:75", "#282"},
      {"play cd from 1 to 14", "#282"}, {"set cd time format ms", ""}, {"seek cd to 800000", "#282"},
      {"status cd mode", "playing"}, {"set cd time format msf", ""}, {"seek cd to 13:19:74", ""}}},
    {"DoorOpenEjectsAndClosingBringsTheDiscBack",
     {kTmsf, {"play cd from 2", ""}, {"set cd door open", ""}, {"status cd mode", "open"},
      {"status cd media present", "false"}, {"status cd ready", "false"},
      {"status cd number of tracks", "#276"}, {"status cd position", "#276"}, {"play cd", "#276"},
      {"set cd door closed", ""}, {"status cd media present", "true"}, {"status cd mode", "stopped"},
      {"status cd number of tracks", "3"}, {"status cd position", "01:00:00:00"}}},
    {.name = "EmptyDriveAnswersPresenceAndModeAndRefusesTheRest",
     .steps = {{"status cd media present", "false"}, {"status cd mode", "not ready"},
               {"status cd time format", "msf"}, {"status cd length", "#276"}, {"play cd", "#276"},
               {"seek cd to 1", "#276"}, {"stop cd", "#276"}, {"pause cd", "#276"}, {"resume cd", "#276"}},
     .disc = std::nullopt},
    // No audio after the trailing data track.
    {.name = "DataTracksAreTypedOtherAndSkippedWhenPlaying",
     .steps = {kTmsf, {"status cd type track 1", "other"}, {"status cd type track 2", "audio"},
               {"status cd type track 4", "other"}, {"play cd from 1", ""}, {"status cd position", "02:00:00:00"},
               {"stop cd", ""}, {"play cd", ""}, {"status cd position", "02:00:00:00"},
               {"play cd from 4", "#282"}},
     .disc = kDataDisc},
    {.name = "PlaybackEndsBeforeTrailingDataTracks",
     .steps = {kTmsf, {"play cd from 3", ""}, {"+600000"}, {"status cd mode", "stopped"},
               {"status cd current track", "3"}, {"status cd position", "03:02:13:24"}},
     .disc = kDataDisc},
};

class MciTransport : public ::testing::TestWithParam<Session> {};

TEST_P(MciTransport, GoesAsScripted) { runSession(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Sessions, MciTransport, ::testing::ValuesIn(kSessions), testing_support::sessionName);

// The time format belongs to the device, not the disc.
TEST(MciTransport, DiscSwapAndRemovalShowAtTheNextQuery) {
    MciRig rig;
    rig.run({kTmsf});
    rig.drive->remove();
    // Closing an empty drive's closed door is harmless; an eject opens the tray.
    rig.run({{"status cd media present", "false"}, {"set cd door closed", ""}, {"status cd mode", "not ready"},
             {"set cd door open", ""}, {"status cd mode", "open"}});
    rig.drive->insert(makeToc({150, 5000, 9000, 13000, 17000}, 21000));
    rig.run({{"status cd media present", "true"}, {"status cd number of tracks", "5"},
             {"status cd time format", "tmsf"}, {"status cd position", "01:00:00:00"}});
}

}  // namespace
}  // namespace velmora
