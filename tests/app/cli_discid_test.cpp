// The disc ID as velmora-cli discid and the player compute it: GetDiscID over the command
// interpreter and a simulated disc whose table of contents gives chosen replies.
#include "discdb/disc_id.h"
#include "player/disc_identity.h"
#include "platform/message_box.h"
#include "platform/mci/mci_interpreter.h"
#include "platform/sim/simulated_drive.h"
#include "player/mci_channel.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace velmora {
namespace {

constexpr int kSecond = 75;

DiscToc tocOf(const std::vector<int>& starts, int leadout) {
    DiscToc toc;
    for (std::size_t i = 0; i < starts.size(); ++i)
        toc.tracks.push_back({static_cast<int>(i) + 1, starts[i], true});
    toc.leadoutFrame = leadout;
    return toc;
}

// The leadout that makes "status cd length" answer m:s:f for a disc starting at `first`.
int leadoutFor(int first, int m, int s, int f) { return first + (m * 60 + s) * kSecond + f + 1; }

struct DiscIdRig {
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    std::shared_ptr<SimulatedDrive> drive = std::make_shared<SimulatedDrive>(clock);
    MciInterpreter mci{[this] { return drive; }};
    RecordingMessageBoxes boxes;
    MciChannel channel{mci, boxes};

    explicit DiscIdRig(std::optional<DiscToc> toc) {
        if (toc) drive->insert(*toc);
        EXPECT_TRUE(channel.SendMCIString(QStringLiteral("open cdaudio alias cd wait shareable"), true));
        EXPECT_TRUE(channel.SendMCIString(QStringLiteral("set cd time format tmsf wait"), true));
    }
    std::string id() { return discIdFromReplies(readDiscTocReplies(channel)).toStdString(); }
    std::string format() { return channel.plainSend(QStringLiteral("status cd time format"), 30).toStdString(); }
};

TEST(CliDiscId, TheWorkedExample) {
    // Tracks at 00:02:00, 03:10:40 and 07:55:01.
    const std::vector<int> starts = {150, (3 * 60 + 10) * kSecond + 40, (7 * 60 + 55) * kSecond + 1};
    DiscIdRig rig(tocOf(starts, leadoutFor(150, 12, 34, 56)));
    // The replies the computation reads are the ones of the worked example.
    ASSERT_TRUE(rig.channel.SendMCIString(QStringLiteral("set cd time format msf"), true));
    EXPECT_EQ(rig.channel.plainSend(QStringLiteral("status cd length wait"), 30), QStringLiteral("12:34:56"));
    EXPECT_EQ(rig.channel.plainSend(QStringLiteral("status cd position track 2"), 30), QStringLiteral("03:10:40"));
    EXPECT_EQ(rig.channel.plainSend(QStringLiteral("status cd position track 3"), 30), QStringLiteral("07:55:01"));
    EXPECT_EQ(rig.id(), "1C02F203");
    EXPECT_EQ(rig.format(), "tmsf");

    DiscIdRig longer(tocOf(starts, leadoutFor(150, 12, 34, 72)));
    EXPECT_EQ(longer.id(), "1C02F303");
    EXPECT_TRUE(rig.boxes.shown.empty());
}

struct IdCase {
    const char* what;
    std::vector<int> startSeconds;  // whole-second starts; frames added below
    int firstFrameExtra;            // frames added to track 1's start
    int leadout;                    // 0: one second after the last start
    const char* id;
};

std::vector<IdCase> idCases() {
    // Digit sums 2 + 18 + 19 + ... + 28 = 255.
    const std::vector<int> sum255 = {2, 99, 199, 299, 399, 499, 599, 699, 799, 899, 999, 1999};
    std::vector<int> sum256 = sum255;
    sum256[0] = 3;
    auto spaced = [](int n) {
        std::vector<int> s;
        for (int i = 0; i < n; ++i) s.push_back(2 + i * 100);
        return s;
    };
    return {
        {"checksum 255 gives FF", sum255, 0, 2000 * kSecond, "FF07CE0C"},
        {"checksum 256 gives a 9-character ID", sum256, 0, 2000 * kSecond, "10007CD0C"},
        {"length of 15 seconds", {2}, 0, leadoutFor(150, 0, 15, 0), "02000F01"},
        {"frame field 70 adds nothing", {2}, 0, leadoutFor(150, 0, 15, 70), "02000F01"},
        {"frame field 71 adds a second", {2}, 0, leadoutFor(150, 0, 15, 71), "02001001"},
        {"start frames are dropped", {2}, 74, leadoutFor(224, 0, 15, 0), "02000F01"},
        {"10 tracks", spaced(10), 0, leadoutFor(150, 16, 39, 74), "4103E80A"},
    };
}

TEST(CliDiscId, Boundaries) {
    for (const auto& c : idCases()) {
        std::vector<int> frames;
        for (int s : c.startSeconds) frames.push_back(s * kSecond);
        frames.front() += c.firstFrameExtra;
        const int leadout = c.leadout ? c.leadout : frames.back() + kSecond;
        DiscIdRig rig(tocOf(frames, leadout));
        EXPECT_EQ(rig.id(), c.id) << c.what;
    }
}

TEST(CliDiscId, TrackCountPart) {
    for (const auto& [n, part] : std::vector<std::pair<int, std::string>>{{9, "09"}, {10, "0A"}, {99, "63"}}) {
        std::vector<int> frames;
        for (int i = 0; i < n; ++i) frames.push_back(150 + i * 1000);
        DiscIdRig rig(tocOf(frames, frames.back() + 1000));
        const std::string id = rig.id();
        ASSERT_GE(id.size(), 8u);
        EXPECT_EQ(id.substr(id.size() - 2), part) << n;
    }
}

TEST(CliDiscId, NoDiscGivesZerosAndLeavesTmsf) {
    DiscIdRig rig(std::nullopt);
    EXPECT_EQ(rig.id(), "00000000");
    EXPECT_EQ(rig.format(), "tmsf");
    DiscIdRig open(tocOf({150}, 1000));
    ASSERT_TRUE(open.channel.SendMCIString(QStringLiteral("set cd door open"), true));
    EXPECT_EQ(open.id(), "00000000");
    EXPECT_EQ(open.format(), "tmsf");
}

}  // namespace
}  // namespace velmora
