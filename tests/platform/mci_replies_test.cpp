// The reply of every status query, in each time format, on a disc of known layout.
#include "mci_test_support.h"

#include <gtest/gtest.h>

#include <span>

namespace velmora {
namespace {

using testing_support::makeToc;
using testing_support::MciRig;
using testing_support::Session;

struct ReplyCase {
    const char* command;
    const char* msf;
    const char* tmsf;
    const char* ms;
};

// knownDisc(): tracks at 150, 20000, 40000, leadout 60000; the head at the disc start.
const ReplyCase kAtDiscStart[] = {
    {"status cd media present", "true", "true", "true"},
    {"status cd type track 1", "audio", "audio", "audio"},
    {"status cd number of tracks wait", "3", "3", "3"},
    {"status cd mode", "stopped", "stopped", "stopped"},
    {"status cd ready", "true", "true", "true"},
    {"status cd current track", "1", "1", "1"},
    // Whole disc: 60000 - 150 - 1 = 59849 frames.
    {"status cd length wait", "13:17:74", "13:17:74", "797987"},
    {"status cd length track 2", "04:26:50", "04:26:50", "266667"},
    // The last track is one frame short.
    {"status cd length track 3", "04:26:49", "04:26:49", "266654"},
    {"status cd position", "00:02:00", "01:00:00:00", "2001"},
    {"status cd position track 2", "04:26:50", "02:00:00:00", "266667"},
    {"status cd position start", "00:02:00", "01:00:00:00", "2001"},
    {"status cd time format", "msf", "tmsf", "milliseconds"},
};

// After "seek cd to 2:1:20:5" (tmsf): frame 20000 + 1:20:05 = 26005.
const ReplyCase kInsideTrack2[] = {
    {"status cd position", "05:46:55", "02:01:20:05", "346734"},
    {"status cd current track", "2", "2", "2"},
};

void expectReplies(MciRig& rig, std::span<const ReplyCase> cases) {
    const std::pair<const char*, const char* ReplyCase::*> formats[] = {
        {"msf", &ReplyCase::msf}, {"tmsf", &ReplyCase::tmsf}, {"milliseconds", &ReplyCase::ms}};
    for (const auto& [format, column] : formats) {
        ASSERT_EQ(rig.code(std::string("set cd time format ") + format), 0);
        for (const ReplyCase& c : cases) {
            const auto result = rig.send(c.command);
            EXPECT_EQ(result.code, 0) << c.command << " in " << format;
            EXPECT_EQ(result.reply, c.*column) << c.command << " in " << format;
        }
    }
}

TEST(MciReplies, EachQueryInEachTimeFormat) {
    MciRig rig;
    expectReplies(rig, kAtDiscStart);
    ASSERT_EQ(rig.code("set cd time format tmsf"), 0);
    ASSERT_EQ(rig.code("seek cd to 2:1:20:5"), 0);
    expectReplies(rig, kInsideTrack2);
}

DiscToc ninetyNineTracks() {
    std::vector<int> starts;
    for (int i = 0; i < 99; ++i) starts.push_back(150 + i * 2000);
    return makeToc(starts, 150 + 99 * 2000);
}

const Session kSessions[] = {
    {.name = "OpenRepliesTheDeviceIdAndDefaultsToMsf",
     .steps = {{"open cdaudio alias cd wait shareable", "1"}, {"status cd time format", "msf"},
               {"open cdaudio alias other shareable", "2"}},
     .open = false},
    {"WordsAreCaseInsensitive",
     {{"Set CD Time Format TMSF Wait", ""}, {"STATUS cd POSITION", "01:00:00:00"},
      {"status Cd Number Of Tracks WAIT", "3"}, {"Seek Cd To 2 Wait Notify", ""},
      {"status cd position", "02:00:00:00"}}},
    {"QuotedWordsAndFlagOrderAreAccepted",
     {{"status \"cd\" mode", "stopped"}, {"status cd track 2 length", "04:26:50"},
      {"status cd notify length wait track 3", "04:26:49"}}},
    {"TimeFormatIsKeptPerDevice",
     {{"open cdaudio alias second shareable", "2"}, {"set cd time format tmsf", ""},
      {"set second time format ms", ""}, {"status cd time format", "tmsf"},
      {"status second time format", "milliseconds"}, {"status cd position", "01:00:00:00"},
      {"status second position", "2001"}}},
    // msf: minutes:seconds:frames, fields left out at the end zero; tmsf: a bare number is a
    // track; milliseconds: (ms - 1) * 75 / 1000, rounded.
    {"ColonFieldsAreReadLowFieldFirst",
     {{"seek cd to 5", ""}, {"status cd position", "05:00:00"},
      {"seek cd to 4:26:50", ""}, {"status cd current track", "2"},
      {"set cd time format tmsf", ""}, {"seek cd to 3", ""}, {"status cd position", "03:00:00:00"},
      {"seek cd to 3:1:20", ""}, {"status cd position", "03:01:20:00"},
      {"set cd time format milliseconds", ""}, {"seek cd to 17001", ""}, {"status cd position", "17001"},
      {"seek cd to 183000", ""}, {"status cd position", "183001"}}},
    {.name = "NinetyNineTrackDisc",
     .steps = {{"set cd time format tmsf", ""}, {"status cd number of tracks wait", "99"},
               {"status cd position track 99", "99:00:00:00"}, {"status cd length track 99", "00:26:49"},
               {"play cd from 99", ""}, {"status cd position", "99:00:00:00"},
               {"status cd current track", "99"}, {"set cd time format msf", ""},
               {"status cd position track 99", "43:35:25"}},
     .disc = ninetyNineTracks()},
    // Disc files cap at 100 minutes, but a backend may report more; the reply must not be
    // cut or overflow.
    {.name = "MinutesBeyondNinetyNineStillFormat",
     .steps = {{"status cd length", "119:57:74"}},
     .disc = makeToc({150}, 120 * 60 * 75)},
};

class MciReplies : public ::testing::TestWithParam<Session> {};

TEST_P(MciReplies, GoAsScripted) { runSession(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Sessions, MciReplies, ::testing::ValuesIn(kSessions), testing_support::sessionName);

}  // namespace
}  // namespace velmora
