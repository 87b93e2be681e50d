// Bad command strings, device bookkeeping, reply buffers and error texts.
#include "mci_test_support.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing_support::knownDisc;
using testing_support::MciRig;
using testing_support::Session;

// Command strings that must fail, by the error they give.
struct BadCommands {
    int code;
    std::vector<std::string> commands;
};

std::vector<BadCommands> badCommands() {
    std::string tooManyWords = "status cd";
    for (int i = 0; i < 200; ++i) tooManyWords += " mode";
    return {
        {267, {"   \t "}},
        {261, {"statuscd mode"}},
        {292, {"play"}},
        {263, {"status dvd mode", "close dvd", "open cdrom alias x", "open x type waveaudio alias y"}},
        {279, {"status all mode"}},
        {273, {"status cd", "status cd type", "status cd type track", "seek cd", "seek cd to", "play cd from 1 to",
               "set cd", "set cd time format", "set cd door", "set cd audio", "open cdaudio alias"}},
        {270, {"status cd length track 1:256", "status cd length track -1:0", "status cd length track 0::::1",
               "status cd length track ::", "seek cd to 1.5", "play cd from two"}},
        {282, {"status cd length track 4", "status cd type track 12345678"}},
        {259, {"status cd colour", "seek cd from 1", "play cd sideways", "stop cd now", "set cd time",
               "set cd door ajar", "set cd audio centre off", "set cd speed fast", "close cd now",
               "open cdaudio alias x shareable extra", tooManyWords}},
        {284, {"status cd mode length", "status cd mode track 1", "status cd position start track 1",
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
    for (const auto& group : badCommands())
        for (const std::string& command : group.commands) {
            const auto result = rig.send(command);
            EXPECT_EQ(result.code, group.code) << command.substr(0, 60);
            EXPECT_EQ(result.reply, "") << command.substr(0, 60);
            char text[200];
            EXPECT_TRUE(rig.mci.errorString(result.code, text, sizeof text)) << result.code;
        }
    // None of it disturbed the device.
    EXPECT_EQ(rig.reply("status cd time format"), "tmsf");
    EXPECT_EQ(rig.reply("status cd mode"), "stopped");
}

const Session kSessions[] = {
    {"TheCommandEndsAtAnEmbeddedNul",
     {{std::string("status cd mode\0 garbage", 23), "stopped"}, {std::string("\0status cd mode", 15), "#267"}}},
    {.name = "CommandsOnAnAliasThatIsNotOpen",
     .steps = {{"status cd mode", "#263"}, {"play cd", "#263"}, {"close cd", "#263"},
               {"open cdaudio alias cd wait shareable", "1"}, {"close cd", ""}, {"status cd mode", "#263"}},
     .open = false},
    // The ID numbering starts over.
    {.name = "CloseAllClosesEverythingAndSucceedsWhenNothingIsOpen",
     .steps = {{"close all", ""}, {"open cdaudio alias a shareable", "1"},
               {"open cdaudio alias b shareable", "2"}, {"close all wait", ""}, {"status a mode", "#263"},
               {"status b mode", "#263"}, {"open cdaudio alias c shareable", "1"}},
     .open = false},
    {.name = "AnExclusiveOpenAdmitsNoOtherAndASharedOneOnlyShared",
     .steps = {{"open cdaudio alias a", "1"}, {"open cdaudio alias b shareable", "#291"},
               {"open cdaudio alias a shareable", "#289"}, {"close a", ""},
               {"open cdaudio alias a shareable", "1"}, {"open cdaudio alias b", "#291"},
               {"open cdaudio alias b shareable", "2"}},
     .open = false},
    // Without an alias the device type is the alias.
    {.name = "WithoutAnAliasTheTypeIsTheAlias",
     .steps = {{"open cdaudio shareable", "1"}, {"status cdaudio mode", "stopped"},
               {"open cdaudio shareable", "#265"}, {"open cdaudio alias CDAUDIO shareable", "#289"}},
     .open = false},
};

class MciErrors : public ::testing::TestWithParam<Session> {};

TEST_P(MciErrors, GoAsScripted) { runSession(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Sessions, MciErrors, ::testing::ValuesIn(kSessions), testing_support::sessionName);

// One drive serves every shared open and stops playing when the last closes; without one, nothing opens.
TEST(MciErrors, OneDriveServesEveryOpenUntilTheLastCloses) {
    MciRig rig(knownDisc(), false);
    rig.run({{"open cdaudio alias a shareable", "1"}, {"open cdaudio alias b shareable", "2"},
             {"seek b to 5", ""}, {"status a position", "05:00:00"}, {"play a", ""}, {"close b", ""},
             {"status a mode", "playing"}, {"close all", ""}});
    EXPECT_EQ(rig.driveRequests, 1);
    EXPECT_EQ(rig.drive->status().mode, DriveMode::Stopped);
    MciRig none(std::nullopt, false);
    none.drive = nullptr;
    none.run({{"open cdaudio alias cd wait shareable", "#266"}, {"status cd mode", "#263"}});
    EXPECT_EQ(none.driveRequests, 1);
}

TEST(MciErrors, ReplyBuffers) {
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
}

TEST(MciErrors, ErrorStrings) {
    MciRig rig;
    char text[200];
    ASSERT_TRUE(rig.mci.errorString(263, text, sizeof text));
    EXPECT_STREQ(text, "The specified device is not open or is not recognized by MCI.");
    EXPECT_EQ(MciInterpreter::errorText(276), "The device driver is not ready.");
    // Cut to fit, always terminated.
    char small[10];
    ASSERT_TRUE(rig.mci.errorString(276, small, sizeof small));
    EXPECT_STREQ(small, "The devic");
    for (int code : {-1, 255, 300, 513})
        EXPECT_FALSE(rig.mci.errorString(code, text, sizeof text)) << code;
    EXPECT_FALSE(rig.mci.errorString(263, text, 0));
    EXPECT_FALSE(rig.mci.errorString(263, nullptr, 200));
    EXPECT_TRUE(MciInterpreter::errorText(0).empty());
}

}  // namespace
}  // namespace velmora
