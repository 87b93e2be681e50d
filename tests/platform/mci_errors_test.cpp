// Bad command strings, device bookkeeping, reply buffers and error texts.
#include "mci_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace velmora {
namespace {

using testing_support::knownDisc;
using testing_support::MciRig;

struct BadCommand {
    std::string command;
    int code;
};

std::vector<BadCommand> badCommands() {
    std::vector<BadCommand> cases = {
        {"", 267},
        {"   \t ", 267},
        {"bogus cd", 261},
        {"statuscd mode", 261},
        {"play", 292},
        {"status", 292},
        {"close", 292},
        {"status dvd mode", 263},
        {"play nothere", 263},
        {"status all mode", 279},
        {"status cd", 273},
        {"status cd wait notify", 273},
        {"status cd track 2", 273},
        {"status cd type", 273},
        {"status cd type track", 273},
        {"status cd length track", 273},
        {"status cd length track x", 270},
        {"status cd length track 1x", 270},
        {"status cd length track 1:256", 270},
        {"status cd length track -1:0", 270},
        {"status cd length track 0::::1", 270},
        {"status cd length track ::", 270},
        {"status cd length track 0", 282},
        {"status cd length track 4", 282},
        {"status cd length track -1", 282},
        {"status cd type track 12345678", 282},
        {"status cd colour", 259},
        {"status cd media", 259},
        {"status cd number of", 259},
        {"status cd mode length", 284},
        {"status cd mode track 1", 284},
        {"status cd position start track 1", 284},
        {"status cd length start", 284},
        {"seek cd", 273},
        {"seek cd to", 273},
        {"seek cd to x", 270},
        {"seek cd to 1.5", 270},
        {"seek cd to start to end", 284},
        {"seek cd from 1", 259},
        {"play cd from", 273},
        {"play cd from 1 to", 273},
        {"play cd from two", 270},
        {"play cd sideways", 259},
        {"stop cd now", 259},
        {"pause cd please", 259},
        {"set cd", 273},
        {"set cd time format", 273},
        {"set cd time format frames", 293},
        {"set cd time format hms", 293},
        {"set cd time", 259},
        {"set cd door", 273},
        {"set cd door ajar", 259},
        {"set cd audio", 273},
        {"set cd audio centre off", 259},
        {"set cd speed fast", 259},
        {"close dvd", 263},
        {"close cd now", 259},
        {"info cd product", 274},
        {"capability cd can eject", 274},
        {"open cdaudio alias cd shareable", 289},
        {"open cdaudio alias", 273},
        {"open cdrom alias x", 263},
        {"open x type waveaudio alias y", 263},
        {"open cdaudio alias all shareable", 290},
        {"open cdaudio alias x shareable extra", 259},
        {"status \"cd mode", 294},
        {"status \"cd\"x mode", 305},
        {"status \"\" mode", 263},
        {"st\xc3\xa4tus cd mode", 261},
        {"status cd m\xc3\xb6" "de", 259},
        {"\xff\xfe\xfd", 261},
        {"status cd \"mode\" \"", 294},
        {"status cd mode\" x", 259},
    };
    cases.push_back({"status cd " + std::string(10000, 'x'), 259});
    std::string manyWords = "status cd";
    for (int i = 0; i < 200; ++i) manyWords += " mode";
    cases.push_back({manyWords, 259});
    cases.push_back({std::string(100000, ' ') + "x", 261});
    return cases;
}

TEST(MciErrors, BadStringsGiveTheirErrorCodeAndText) {
    MciRig rig;
    ASSERT_EQ(rig.code("set cd time format tmsf"), 0);
    for (const auto& c : badCommands()) {
        const auto result = rig.send(c.command);
        EXPECT_EQ(result.code, c.code) << c.command.substr(0, 60);
        EXPECT_EQ(result.reply, "") << c.command.substr(0, 60);
        char text[200];
        EXPECT_TRUE(rig.mci.errorString(result.code, text, sizeof text)) << result.code;
        EXPECT_GT(std::strlen(text), 10u);
    }
    // None of it disturbed the device.
    EXPECT_EQ(rig.reply("status cd time format"), "tmsf");
    EXPECT_EQ(rig.reply("status cd mode"), "stopped");
}

TEST(MciErrors, TheCommandEndsAtAnEmbeddedNul) {
    MciRig rig;
    EXPECT_EQ(rig.reply(std::string("status cd mode\0 garbage", 23)), "stopped");
    EXPECT_EQ(rig.code(std::string("\0status cd mode", 15)), 267);
}

TEST(MciErrors, CommandsOnAnAliasThatIsNotOpen) {
    MciRig rig(knownDisc(), false);
    for (const char* command : {"status cd mode", "play cd", "set cd time format tmsf",
                                "seek cd to 1", "pause cd", "resume cd", "stop cd", "close cd"})
        EXPECT_EQ(rig.code(command), 263) << command;
    ASSERT_EQ(rig.code("open cdaudio alias cd wait shareable"), 0);
    EXPECT_EQ(rig.code("close cd"), 0);
    EXPECT_EQ(rig.code("status cd mode"), 263);
}

TEST(MciErrors, CloseAllClosesEverythingAndSucceedsWhenNothingIsOpen) {
    MciRig rig(knownDisc(), false);
    auto first = rig.send("close all");
    EXPECT_EQ(first.code, 0);
    EXPECT_EQ(first.reply, "");
    ASSERT_EQ(rig.code("open cdaudio alias a shareable"), 0);
    ASSERT_EQ(rig.code("open cdaudio alias b shareable"), 0);
    EXPECT_EQ(rig.code("close all wait"), 0);
    EXPECT_EQ(rig.code("status a mode"), 263);
    EXPECT_EQ(rig.code("status b mode"), 263);
    // The ID numbering starts over.
    EXPECT_EQ(rig.send("open cdaudio alias c shareable").reply, "1");
}

TEST(MciErrors, ClosingTheLastDeviceStopsPlayback) {
    MciRig rig;
    ASSERT_EQ(rig.code("play cd from 00:04:00"), 0);
    ASSERT_EQ(rig.drive->status().mode, DriveMode::Playing);
    ASSERT_EQ(rig.code("close all"), 0);
    EXPECT_EQ(rig.drive->status().mode, DriveMode::Stopped);
}

TEST(MciErrors, SharingRules) {
    {
        MciRig rig(knownDisc(), false);
        ASSERT_EQ(rig.code("open cdaudio alias a"), 0);
        EXPECT_EQ(rig.code("open cdaudio alias b shareable"), 291);
        EXPECT_EQ(rig.code("open cdaudio alias a shareable"), 289);
    }
    {
        MciRig rig(knownDisc(), false);
        ASSERT_EQ(rig.code("open cdaudio alias a shareable"), 0);
        EXPECT_EQ(rig.code("open cdaudio alias b"), 291);
        EXPECT_EQ(rig.code("open cdaudio alias b shareable"), 0);
    }
    {
        // Without an alias the device type is the alias.
        MciRig rig(knownDisc(), false);
        ASSERT_EQ(rig.code("open cdaudio shareable"), 0);
        EXPECT_EQ(rig.reply("status cdaudio mode"), "stopped");
        EXPECT_EQ(rig.code("open cdaudio shareable"), 265);
        EXPECT_EQ(rig.code("open cdaudio alias CDAUDIO shareable"), 289);
    }
}

TEST(MciErrors, NoDriveAtAllCannotLoadTheDriver) {
    int calls = 0;
    MciInterpreter mci([&calls]() -> std::shared_ptr<CdDrive> {
        ++calls;
        return nullptr;
    });
    char reply[30] = "untouched";
    EXPECT_EQ(mci.sendString("open cdaudio alias cd wait shareable", reply, sizeof reply), 266);
    EXPECT_STREQ(reply, "");
    EXPECT_EQ(mci.sendString("status cd mode", reply, sizeof reply), 263);
    EXPECT_EQ(calls, 1);
}

TEST(MciErrors, SharedOpensReuseOneDrive) {
    int calls = 0;
    auto clock = std::make_shared<ManualClock>();
    auto drive = std::make_shared<SimulatedDrive>(clock);
    drive->insert(knownDisc());
    MciInterpreter mci([&] {
        ++calls;
        return drive;
    });
    EXPECT_EQ(mci.sendString("open cdaudio alias a shareable", nullptr, 0), 0);
    EXPECT_EQ(mci.sendString("open cdaudio alias b shareable", nullptr, 0), 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(mci.sendString("seek b to 5", nullptr, 0), 0);
    char reply[30];
    EXPECT_EQ(mci.sendString("status a position", reply, sizeof reply), 0);
    EXPECT_STREQ(reply, "05:00:00");
}

TEST(MciErrors, ReplyBuffers) {
    MciRig rig(knownDisc(), false);
    // An open whose reply does not fit opens nothing.
    EXPECT_EQ(rig.send("open cdaudio alias cd shareable", 1).code, 268);
    EXPECT_EQ(rig.code("status cd mode"), 263);
    EXPECT_EQ(rig.send("open cdaudio alias cd shareable", 2).reply, "1");
    ASSERT_EQ(rig.code("set cd time format tmsf"), 0);
    struct Case {
        const char* command;
        int length;
        int code;
        const char* reply;
    };
    const Case cases[] = {
        {"status cd position", 11, 268, ""},  // "01:00:00:00" needs 12 with its NUL
        {"status cd position", 12, 0, "01:00:00:00"},
        {"status cd mode", 1, 268, ""},
        {"seek cd to 2", 1, 0, ""},  // no reply fits any buffer
    };
    for (const Case& c : cases) {
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
    ASSERT_TRUE(rig.mci.errorString(268, text, sizeof text));
    EXPECT_STREQ(text,
                 "The output string was too large to fit in the return buffer. Increase the size "
                 "of the buffer.");
    EXPECT_EQ(MciInterpreter::errorText(276), "The device driver is not ready.");
    // Cut to fit, always terminated.
    char small[10];
    ASSERT_TRUE(rig.mci.errorString(276, small, sizeof small));
    EXPECT_STREQ(small, "The devic");
    for (int code : {0, 1, 255, 513, 1000, -1})
        EXPECT_FALSE(rig.mci.errorString(code, text, sizeof text)) << code;
    EXPECT_FALSE(rig.mci.errorString(263, text, 0));
    EXPECT_FALSE(rig.mci.errorString(263, nullptr, 200));
    EXPECT_TRUE(MciInterpreter::errorText(0).empty());
}

}  // namespace
}  // namespace velmora
