// The disc ID as velmora-cli discid and the player compute it: GetDiscID over the command
// interpreter and a simulated disc whose table of contents gives chosen replies.
#include "discdb/disc_id.h"
#include "platform/mci/mci_interpreter.h"
#include "platform/message_box.h"
#include "platform/sim/simulated_drive.h"
#include "player/disc_identity.h"
#include "player/mci_channel.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace velmora {
namespace {

constexpr int kSecond = 75;

DiscToc tocOf(const std::vector<int>& starts, int leadout) {
    DiscToc toc;
    for (std::size_t i = 0; i < starts.size(); ++i) toc.tracks.push_back({static_cast<int>(i) + 1, starts[i], true});
    toc.leadoutFrame = leadout;
    return toc;
}

// The leadout that makes "status cd length" answer m:s:f for a disc starting at `first`.
int leadoutFor(int first, int m, int s, int f) { return first + (m * 60 + s) * kSecond + f + 1; }

// Track starts `step` frames apart from 00:02:00.
std::vector<int> spaced(int tracks, int step) {
    std::vector<int> s;
    for (int i = 0; i < tracks; ++i) s.push_back(150 + i * step);
    return s;
}

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
    // The ID, and that the time format is tmsf again afterwards.
    std::string id() {
        const std::string out = discIdFromReplies(readDiscTocReplies(channel)).toStdString();
        EXPECT_EQ(channel.plainSend(QStringLiteral("status cd time format"), 30), QStringLiteral("tmsf")) << out;
        EXPECT_TRUE(boxes.shown.empty()) << out;
        return out;
    }
};

TEST(CliDiscId, WorkedExampleAndBoundaries) {
    // Tracks at 00:02:00, 03:10:40 and 07:55:01.
    const std::vector<int> example = {150, (3 * 60 + 10) * kSecond + 40, (7 * 60 + 55) * kSecond + 1};
    // Start seconds whose digit sums 2 + 18 + 19 + ... + 28 make 255.
    std::vector<int> sum255;
    for (int s : {2, 99, 199, 299, 399, 499, 599, 699, 799, 899, 999, 1999}) sum255.push_back(s * kSecond);
    std::vector<int> sum256 = sum255;
    sum256[0] += kSecond;
    const struct {
        const char* what;
        std::vector<int> starts;
        int leadout;
        const char* id;
    } cases[] = {
        {"the worked example, length 12:34:56", example, leadoutFor(150, 12, 34, 56), "1C02F203"},
        {"the worked example, length 12:34:72", example, leadoutFor(150, 12, 34, 72), "1C02F303"},
        {"checksum 255 gives FF", sum255, 2000 * kSecond, "FF07CE0C"},
        {"checksum 256 gives a 9-character ID", sum256, 2000 * kSecond, "10007CD0C"},
        {"length of 15 seconds", {150}, leadoutFor(150, 0, 15, 0), "02000F01"},
        {"frame field 70 adds nothing", {150}, leadoutFor(150, 0, 15, 70), "02000F01"},
        {"frame field 71 adds a second", {150}, leadoutFor(150, 0, 15, 71), "02001001"},
        {"start frames are dropped", {224}, leadoutFor(224, 0, 15, 0), "02000F01"},
        {"10 tracks", spaced(10, 100 * kSecond), leadoutFor(150, 16, 39, 74), "4103E80A"},
    };
    for (const auto& c : cases) EXPECT_EQ(DiscIdRig(tocOf(c.starts, c.leadout)).id(), c.id) << c.what;

    // The track count is the last two hex digits.
    for (const auto& [n, part] : std::vector<std::pair<int, std::string>>{{9, "09"}, {10, "0A"}, {99, "63"}}) {
        const std::string id = DiscIdRig(tocOf(spaced(n, 1000), 150 + n * 1000)).id();
        ASSERT_GE(id.size(), 8u);
        EXPECT_EQ(id.substr(id.size() - 2), part) << n;
    }
}

TEST(CliDiscId, NoDiscOrAnOpenDoorGivesZeros) {
    EXPECT_EQ(DiscIdRig(std::nullopt).id(), "00000000");
    DiscIdRig open(tocOf({150}, 1000));
    ASSERT_TRUE(open.channel.SendMCIString(QStringLiteral("set cd door open"), true));
    EXPECT_EQ(open.id(), "00000000");
}

}  // namespace
}  // namespace velmora
