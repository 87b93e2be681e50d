// The command-string interpreter and the simulated drive under it, its clock moved by hand:
// replies in each time format, transport, bad strings, device bookkeeping, reply buffers and
// error texts.
#include "platform/mci/mci_interpreter.h"
#include "platform/sim/simulated_drive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <span>
#include <thread>
#include <vector>

namespace velmora {
namespace {

// A table of contents from start frames; every track audio unless listed in `dataTracks`.
DiscToc makeToc(const std::vector<int>& starts, int leadout, const std::vector<int>& dataTracks = {}) {
    DiscToc toc;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        toc.tracks.push_back({number, starts[i], std::ranges::find(dataTracks, number) == dataTracks.end()});
    }
    toc.leadoutFrame = leadout;
    return toc;
}

// Three audio tracks at 150, 20000 and 40000; leadout 60000.
DiscToc knownDisc() { return makeToc({150, 20000, 40000}, 60000); }

// An interpreter over a simulated drive on a manual clock, with the device open as "cd".
struct MciRig {
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    std::shared_ptr<SimulatedDrive> drive = std::make_shared<SimulatedDrive>(clock);
    int driveRequests = 0;
    MciInterpreter mci{[this] {
        ++driveRequests;
        return drive;
    }};

    explicit MciRig(std::optional<DiscToc> toc = knownDisc(), bool open = true) {
        if (toc) drive->insert(*toc);
        if (open) send("open cdaudio alias cd wait shareable");
    }

    struct Result {
        int code;
        std::string reply;
    };
    Result send(const std::string& command, int bufferLength = 128) {
        // One sentinel NUL past the end, so a reply left unterminated shows as trailing Zs.
        std::vector<char> buffer(static_cast<std::size_t>(bufferLength > 0 ? bufferLength : 0) + 1, 'Z');
        buffer.back() = '\0';
        const int code = mci.sendString(command, buffer.data(), bufferLength);
        return {code, bufferLength > 0 ? std::string(buffer.data()) : std::string()};
    }
    int code(const std::string& command) { return send(command).code; }

    // One command and what it must give: its reply, or "#<code>" for an error (whose
    // reply must be empty). A command "+<ms>" moves the clock on instead.
    struct Step {
        std::string command;
        std::string expect = {};
    };
    void run(const std::vector<Step>& steps) {
        for (const Step& step : steps) {
            if (step.command.starts_with('+')) {
                clock->advanceMs(std::stoi(step.command.substr(1)));
                continue;
            }
            const Result result = send(step.command);
            const bool error = step.expect.starts_with('#');
            EXPECT_EQ(result.code, error ? std::stoi(step.expect.substr(1)) : 0) << step.command;
            EXPECT_EQ(result.reply, error ? "" : step.expect) << step.command;
        }
    }
};

// A named script on a drive holding `disc`, with "cd" opened first unless `open` is false.
struct Session {
    const char* name;
    std::vector<MciRig::Step> steps;
    std::optional<DiscToc> disc = knownDisc();
    bool open = true;
};
void PrintTo(const Session& s, std::ostream* os) { *os << s.name; }
std::string sessionName(const ::testing::TestParamInfo<Session>& info) { return info.param.name; }

struct ReplyCase {
    const char* command;
    const char* msf;
    const char* tmsf;
    const char* ms;
};

// The head at the start of knownDisc().
const ReplyCase kAtDiscStart[] = {
    {"status cd ready", "true", "true", "true"},
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
};

void expectReplies(MciRig& rig, std::span<const ReplyCase> cases) {
    const std::pair<const char*, const char * ReplyCase::*> formats[] = {
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

const MciRig::Step kTmsf{"set cd time format tmsf wait", ""};

// Data tracks: 1 data, 2 and 3 audio, 4 data (an enhanced disc).
const DiscToc kDataDisc = makeToc({150, 10000, 20000, 30000}, 40000, {1, 4});

const Session kSessions[] = {
    {"WordsAreCaseInsensitiveMayBeQuotedAndComeInAnyOrder",
     {{"Set CD Time Format TMSF Wait", ""},
      {"STATUS cd POSITION", "01:00:00:00"},
      {"Seek Cd To 2 Wait Notify", ""},
      {"status cd position", "02:00:00:00"},
      {"status \"cd\" mode", "stopped"},
      {"status cd track 2 length", "04:26:50"},
      {"status cd notify length wait track 3", "04:26:49"}}},
    {"TimeFormatIsKeptPerDevice",
     {{"open cdaudio alias second shareable", "2"},
      {"set cd time format tmsf", ""},
      {"set second time format ms", ""},
      {"status cd time format", "tmsf"},
      {"status second time format", "milliseconds"},
      {"status cd position", "01:00:00:00"},
      {"status second position", "2001"}}},
    // Fields left out at the end are zero; milliseconds: (ms - 1) * 75 / 1000, rounded.
    {"ColonFieldsAreReadLowFieldFirst",
     {{"seek cd to 5", ""},
      {"status cd position", "05:00:00"},
      {"set cd time format tmsf", ""},
      {"seek cd to 3", ""},
      {"status cd position", "03:00:00:00"},
      {"seek cd to 3:1:20", ""},
      {"status cd position", "03:01:20:00"},
      {"set cd time format milliseconds", ""},
      {"seek cd to 17001", ""},
      {"status cd position", "17001"},
      {"seek cd to 183000", ""},
      {"status cd position", "183001"}}},
    // Disc files cap at 100 minutes, but a backend may report more; the reply must not be
    // cut or overflow.
    {.name = "MinutesBeyondNinetyNineStillFormat",
     .steps = {{"status cd length", "119:57:74"}},
     .disc = makeToc({150}, 120 * 60 * 75)},
    {"PlayAdvancesWithTheClock",
     {kTmsf,
      {"play cd from 2", ""},
      {"status cd mode", "playing"},
      {"status cd position", "02:00:00:00"},
      {"+1500"},
      {"status cd position", "02:00:01:37"},
      {"+60000"},
      {"status cd position", "02:01:01:37"},
      {"status cd current track", "2"}}},
    // While playing, a bare play carries on where it is.
    {"PlayWithoutFromStartsAtTheHead",
     {kTmsf,
      {"seek cd to 3", ""},
      {"play cd", ""},
      {"+2000"},
      {"status cd position", "03:00:02:00"},
      {"play cd", ""},
      {"+1000"},
      {"status cd position", "03:00:03:00"}}},
    // Play after pause also continues from the paused spot.
    // Resuming anything but a paused play is a hardware error.
    {"PauseKeepsThePositionAndResumeGoesOn",
     {kTmsf,
      {"resume cd", "#262"},
      {"play cd from 1", ""},
      {"+2000"},
      {"pause cd", ""},
      {"status cd mode", "paused"},
      {"+5000"},
      {"status cd position", "01:00:02:00"},
      {"resume cd", ""},
      {"status cd mode", "playing"},
      {"+1000"},
      {"status cd position", "01:00:03:00"},
      {"pause cd", ""},
      {"play cd", ""},
      {"+1000"},
      {"status cd position", "01:00:04:00"},
      {"stop cd", ""},
      {"resume cd", "#262"},
      {"status cd mode", "stopped"}}},
    // The player's Stop follows with "seek cd to <current track>"; Play then starts there.
    {"StopReturnsToTheDiscStartAndTheSeekOfStopRestoresTheTrack",
     {kTmsf,
      {"play cd from 2", ""},
      {"+7000"},
      {"stop cd wait", ""},
      {"status cd mode", "stopped"},
      {"status cd position", "01:00:00:00"},
      {"seek cd to 2", ""},
      {"play cd", ""},
      {"status cd position", "02:00:00:00"},
      {"status cd mode", "playing"}}},
    {"SeekStopsPlayback",
     {kTmsf,
      {"play cd from 1", ""},
      {"seek cd to 3", ""},
      {"status cd mode", "stopped"},
      {"+5000"},
      {"status cd position", "03:00:00:00"},
      {"seek cd to start", ""},
      {"status cd position", "01:00:00:00"}}},
    // The head rests where the last track's length says it ends; nothing is left to play,
    // so a play is accepted and the drive stays stopped.
    {"TheEndOfTheDiscStopsPlaybackAtTheReportedLength",
     {kTmsf,
      {"play cd from 3", ""},
      {"+600000"},
      {"status cd mode", "stopped"},
      {"status cd position", "03:04:26:49"},
      {"set cd time format msf", ""},
      {"status cd position", "13:19:74"},
      {"seek cd to end", ""},
      {"status cd position", "13:19:74"},
      {"play cd", ""},
      {"status cd mode", "stopped"}}},
    {"PlayToStopsThere",
     {kTmsf,
      {"play cd from 1 to 2", ""},
      {"+600000"},
      {"status cd mode", "stopped"},
      {"status cd position", "02:00:00:00"}}},
    // A target inside the lead-in plays from the first track; a refused one leaves the play going.
    {"PlayFromInMillisecondsWhilePlaying",
     {kTmsf,
      {"play cd from 1", ""},
      {"+1000"},
      {"set cd time format milliseconds", ""},
      {"status cd position wait", "3001"},
      {"play cd from 17001", ""},
      {"status cd position wait", "17001"},
      {"play cd from -1999", "#282"},
      {"status cd mode", "playing"},
      {"+1000"},
      {"status cd position", "18001"},
      {"play cd from 1000", ""},
      {"status cd position", "2001"}}},
    {"PositionsBeyondTheDiscAreOutOfRange",
     {kTmsf,
      {"play cd from 2", ""},
      {"play cd from 3:5:0", "#282"},
      {"play cd from 4", "#282"},
      {"play cd from 2 to 1", "#282"},
      {"play cd from 1:0:60", "#282"},
      {"set cd time format msf", ""},
      {"seek cd to 13:20", "#282"},
      {"seek cd to 1:60", "#282"},
      {"seek cd to 1:0:75", "#282"},
      {"play cd from 1 to 14", "#282"},
      {"set cd time format ms", ""},
      {"seek cd to 800000", "#282"},
      {"status cd mode", "playing"},
      {"set cd time format msf", ""},
      {"seek cd to 13:19:74", ""}}},
    {"DoorOpenEjectsAndClosingBringsTheDiscBack",
     {kTmsf,
      {"play cd from 2", ""},
      {"set cd door open", ""},
      {"status cd mode", "open"},
      {"status cd media present", "false"},
      {"status cd ready", "false"},
      {"status cd number of tracks", "#276"},
      {"play cd", "#276"},
      {"set cd door closed", ""},
      {"status cd media present", "true"},
      {"status cd mode", "stopped"},
      {"status cd number of tracks", "3"},
      {"status cd position", "01:00:00:00"}}},
    {.name = "EmptyDriveAnswersPresenceAndModeAndRefusesTheRest",
     .steps = {{"status cd media present", "false"},
               {"status cd mode", "not ready"},
               {"status cd time format", "msf"},
               {"status cd length", "#276"},
               {"play cd", "#276"},
               {"seek cd to 1", "#276"},
               {"stop cd", "#276"},
               {"pause cd", "#276"},
               {"resume cd", "#276"}},
     .disc = std::nullopt},
    // No audio after the trailing data track.
    {.name = "DataTracksAreTypedOtherAndSkippedWhenPlaying",
     .steps = {kTmsf,
               {"status cd type track 1", "other"},
               {"status cd type track 2", "audio"},
               {"status cd type track 4", "other"},
               {"play cd from 1", ""},
               {"status cd position", "02:00:00:00"},
               {"stop cd", ""},
               {"play cd", ""},
               {"status cd position", "02:00:00:00"},
               {"play cd from 4", "#282"}},
     .disc = kDataDisc},
    {.name = "PlaybackEndsBeforeTrailingDataTracks",
     .steps = {kTmsf,
               {"play cd from 3", ""},
               {"+600000"},
               {"status cd mode", "stopped"},
               {"status cd current track", "3"},
               {"status cd position", "03:02:13:24"}},
     .disc = kDataDisc},
    {"TheCommandEndsAtAnEmbeddedNul",
     {{std::string("status cd mode\0 garbage", 23), "stopped"}, {std::string("\0status cd mode", 15), "#267"}}},
    {.name = "CommandsOnAnAliasThatIsNotOpen",
     .steps = {{"status cd mode", "#263"},
               {"play cd", "#263"},
               {"close cd", "#263"},
               {"open cdaudio alias cd wait shareable", "1"},
               {"close cd", ""},
               {"status cd mode", "#263"}},
     .open = false},
    // The ID numbering starts over.
    {.name = "CloseAllClosesEverythingAndSucceedsWhenNothingIsOpen",
     .steps = {{"close all", ""},
               {"open cdaudio alias a shareable", "1"},
               {"open cdaudio alias b shareable", "2"},
               {"close all wait", ""},
               {"status a mode", "#263"},
               {"status b mode", "#263"},
               {"open cdaudio alias c shareable", "1"}},
     .open = false},
    {.name = "AnExclusiveOpenAdmitsNoOtherAndASharedOneOnlyShared",
     .steps = {{"open cdaudio alias a", "1"},
               {"open cdaudio alias b shareable", "#291"},
               {"open cdaudio alias a shareable", "#289"},
               {"close a", ""},
               {"open cdaudio alias a shareable", "1"},
               {"open cdaudio alias b", "#291"},
               {"open cdaudio alias b shareable", "2"}},
     .open = false},
    // Without an alias the device type is the alias.
    {.name = "WithoutAnAliasTheTypeIsTheAlias",
     .steps = {{"open cdaudio shareable", "1"},
               {"status cdaudio mode", "stopped"},
               {"open cdaudio shareable", "#265"},
               {"open cdaudio alias CDAUDIO shareable", "#289"}},
     .open = false},
};

class MciSession : public ::testing::TestWithParam<Session> {};

TEST_P(MciSession, GoesAsScripted) { MciRig(GetParam().disc, GetParam().open).run(GetParam().steps); }

INSTANTIATE_TEST_SUITE_P(Sessions, MciSession, ::testing::ValuesIn(kSessions), sessionName);

// Command strings that must fail, by the error they give.
std::vector<std::pair<int, std::vector<std::string>>> badCommands() {
    std::string tooManyWords = "status cd";
    for (int i = 0; i < 200; ++i) tooManyWords += " mode";
    return {
        {267, {"   \t "}},
        {261, {"statuscd mode"}},
        {292, {"play"}},
        {263, {"status dvd mode", "close dvd", "open cdrom alias x", "open x type waveaudio alias y"}},
        {279, {"status all mode"}},
        {273,
         {"status cd", "status cd type", "status cd type track", "seek cd", "seek cd to", "play cd from 1 to", "set cd",
          "set cd time format", "set cd door", "set cd audio", "open cdaudio alias"}},
        {270,
         {"status cd length track 1:256", "status cd length track -1:0", "status cd length track 0::::1",
          "status cd length track ::", "seek cd to 1.5", "play cd from two"}},
        {282, {"status cd length track 4", "status cd type track 12345678"}},
        {259,
         {"status cd colour", "seek cd from 1", "play cd sideways", "stop cd now", "set cd time", "set cd door ajar",
          "set cd audio centre off", "set cd speed fast", "close cd now", "open cdaudio alias x shareable extra",
          tooManyWords}},
        {284,
         {"status cd mode length", "status cd mode track 1", "status cd position start track 1",
          "status cd length start", "seek cd to start to end"}},
        {293, {"set cd time format frames"}},
        {274, {"info cd product"}},
        {289, {"open cdaudio alias cd shareable"}},
        {290, {"open cdaudio alias all shareable"}},
        {294, {"status \"cd mode"}},
        {305, {"status \"cd\"x mode"}},
    };
}

TEST(MciErrors, BadStringsGiveTheirErrorCodeAndText) {
    MciRig rig;
    ASSERT_EQ(rig.code("set cd time format tmsf"), 0);
    for (const auto& [code, commands] : badCommands())
        for (const std::string& command : commands) {
            const auto result = rig.send(command);
            EXPECT_EQ(result.code, code) << command.substr(0, 60);
            EXPECT_EQ(result.reply, "") << command.substr(0, 60);
        }
    // None of it disturbed the device.
    rig.run({{"status cd time format", "tmsf"}, {"status cd mode", "stopped"}});
}

// One drive serves every shared open and stops playing when the last closes; without one, nothing opens.
TEST(MciErrors, OneDriveServesEveryOpenUntilTheLastCloses) {
    MciRig rig(knownDisc(), false);
    rig.run({{"open cdaudio alias a shareable", "1"},
             {"open cdaudio alias b shareable", "2"},
             {"seek b to 5", ""},
             {"status a position", "05:00:00"},
             {"play a", ""},
             {"close b", ""},
             {"status a mode", "playing"},
             {"close all", ""}});
    EXPECT_EQ(rig.driveRequests, 1);
    EXPECT_EQ(rig.drive->status().mode, DriveMode::Stopped);
    MciRig none(std::nullopt, false);
    none.drive = nullptr;
    none.run({{"open cdaudio alias cd wait shareable", "#266"}, {"status cd mode", "#263"}});
    EXPECT_EQ(none.driveRequests, 1);
}

TEST(MciErrors, RepliesAndErrorTextsFitTheCallersBuffer) {
    MciRig rig(knownDisc(), false);
    const struct {
        const char* command;
        int length;
        int code;
        const char* reply;
    } cases[] = {
        {"open cdaudio alias cd shareable", 1, 268, ""},  // an open whose reply does not fit opens nothing
        {"open cdaudio alias cd shareable", 2, 0, "1"},
        {"set cd time format tmsf", 128, 0, ""},
        {"status cd position", 11, 268, ""},  // "01:00:00:00" needs 12 with its NUL
        {"status cd position", 12, 0, "01:00:00:00"},
        {"seek cd to 2", 1, 0, ""},  // no reply fits any buffer
    };
    for (const auto& c : cases) {
        const auto result = rig.send(c.command, c.length);
        EXPECT_EQ(result.code, c.code) << c.command << " in " << c.length;
        EXPECT_EQ(result.reply, c.reply) << c.command << " in " << c.length;
    }
    // A zero, negative or missing buffer discards the reply and touches nothing.
    char buffer[8] = "keep";
    EXPECT_EQ(rig.mci.sendString("status cd mode", buffer, 0), 0);
    EXPECT_EQ(rig.mci.sendString("status cd mode", nullptr, 30), 0);
    EXPECT_EQ(rig.mci.sendString("status cd mode", buffer, -5), 0);
    EXPECT_STREQ(buffer, "keep");

    // Error texts the same way.
    char text[200];
    ASSERT_TRUE(rig.mci.errorString(263, text, sizeof text));
    EXPECT_STREQ(text, "The specified device is not open or is not recognized by MCI.");
    // Cut to fit, always terminated.
    char small[10];
    ASSERT_TRUE(rig.mci.errorString(276, small, sizeof small));
    EXPECT_STREQ(small, "The devic");
    for (int code : {-1, 255, 300, 513}) EXPECT_FALSE(rig.mci.errorString(code, text, sizeof text)) << code;
    EXPECT_FALSE(rig.mci.errorString(263, text, 0));
    EXPECT_FALSE(rig.mci.errorString(263, nullptr, 200));
}

// The time format belongs to the device, not the disc.
TEST(MciTransport, DiscSwapAndRemovalShowAtTheNextQuery) {
    MciRig rig;
    rig.run({kTmsf});
    rig.drive->remove();
    // Closing an empty drive's closed door is harmless.
    rig.run({{"status cd media present", "false"}, {"set cd door closed", ""}, {"status cd mode", "not ready"}});
    rig.drive->insert(makeToc({150, 5000, 9000, 13000, 17000}, 21000));
    rig.run({{"status cd media present", "true"},
             {"status cd number of tracks", "5"},
             {"status cd time format", "tmsf"},
             {"status cd position", "01:00:00:00"}});
}

// The simulated drive's own checks, below the interpreter's.
TEST(SimDrive, RefusesRangesOutsideTheDisc) {
    MciRig rig(knownDisc(), false);
    EXPECT_EQ(rig.drive->play(-1, 100), DriveError::OutOfRange);
    EXPECT_EQ(rig.drive->play(150, 60001), DriveError::OutOfRange);
    EXPECT_EQ(rig.drive->play(500, 400), DriveError::OutOfRange);
    EXPECT_EQ(rig.drive->seek(60001), DriveError::OutOfRange);
    EXPECT_EQ(rig.drive->seek(-5), DriveError::OutOfRange);
    EXPECT_FALSE(rig.drive->lastErrorDetail().empty());
    EXPECT_EQ(rig.drive->status().mode, DriveMode::Stopped);
}

TEST(SimDrive, ToleratesQueriesFromOtherThreads) {
    MciRig rig(knownDisc(), false);
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done) {
            const DriveStatus s = rig.drive->status();
            if (s.mediaPresent) {
                EXPECT_GE(s.positionFrame, 150);
                EXPECT_LE(s.positionFrame, 60000);
            }
            (void)rig.drive->toc();
        }
    });
    for (int i = 0; i < 2000; ++i) {
        rig.drive->play(150 + i, 59999);
        rig.clock->advanceMs(13);
        if (i % 3 == 0) rig.drive->pause();
        if (i % 7 == 0) rig.drive->setDoorOpen(true);
        if (i % 7 == 1) rig.drive->setDoorOpen(false);
    }
    done = true;
    reader.join();
}

}  // namespace
}  // namespace velmora
