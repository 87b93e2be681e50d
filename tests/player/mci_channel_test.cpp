#include "fake_mci.h"
#include "platform/message_box.h"
#include "player/mci_channel.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {
struct MciChannelTest : ::testing::Test {
    FakeMci mci;
    RecordingMessageBoxes boxes;
    MciChannel channel{mci, boxes};
};
}  // namespace

TEST_F(MciChannelTest, FailureIsReportedOnlyWhenAskedAndAPlainSendReadsTheReplyOrNothing) {
    mci.fail("play cd", 276);
    EXPECT_FALSE(channel.SendMCIString("play cd", false));
    EXPECT_TRUE(boxes.shown.empty());

    EXPECT_FALSE(channel.SendMCIString("play cd", true));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "error text 276");

    mci.answer("pause cd", "");
    EXPECT_TRUE(channel.SendMCIString("pause cd", true));
    EXPECT_EQ(boxes.shown.size(), 1u);

    // A plain send reads the reply, or nothing, and never shows a failure.
    mci.answer("status cd mode", "playing");
    EXPECT_EQ(channel.plainSend("status cd mode", 30), "playing");
    mci.answer("status cd mode", std::string(40, 'x'));
    EXPECT_EQ(channel.plainSend("status cd mode", 30), "");  // did not fit
    EXPECT_EQ(channel.lastResult(), 268);
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(MciChannelTest, LogAppendsEveryCommandWithItsResult) {
    QTemporaryDir dir;
    const QString log = dir.filePath("mci.log");
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("earlier line\n");
    f.close();
    mci.fail("seek cd to 99", 282);
    mci.answer("status cd mode", "stopped");
    {
        MciChannel logged(mci, boxes, log);
        logged.SendMCIString("seek cd to 99", false);
        logged.plainSend("status cd mode", 30);
        logged.plainSend("bad\ncommand", 30);  // cannot forge a line of its own
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("earlier line\nseek cd to 99\t282\nstatus cd mode\t0\nbad\\ncommand\t261\n"));
}
