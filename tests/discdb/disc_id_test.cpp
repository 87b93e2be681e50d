// The disc ID that velmora-cli discid, the player and the editor compute from the drive's
// msf replies.
#include "discdb/disc_id.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// `tracks` starts, `step` frames apart from 00:02:00, as "status cd position track n" gives them.
QStringList spacedStarts(int tracks, int step) {
    QStringList starts;
    for (int frame = 150; starts.size() < tracks; frame += step)
        starts << QStringLiteral("%1:%2:%3")
                      .arg(frame / 75 / 60, 2, 10, QChar(u'0'))
                      .arg(frame / 75 % 60, 2, 10, QChar(u'0'))
                      .arg(frame % 75, 2, 10, QChar(u'0'));
    return starts;
}

TEST(DiscId, WorkedExampleAndBoundaries) {
    const struct {
        const char* what;
        DiscTocReplies replies;
        const char* id;
    } cases[] = {
        {"the worked example", {"12:34:56", "3", {"00:02:00", "03:10:40", "07:55:01"}}, "1C02F203"},
        {"frame field 70 adds nothing, a one-digit checksum", {"00:15:70", "1", {"00:02:00"}}, "02000F01"},
        {"frame field 71 adds a second", {"00:15:71", "1", {"00:02:00"}}, "02001001"},
        {"99 tracks, a checksum past 255 is kept whole", {"21:59:74", "99", spacedStarts(99, 1000)}, "519052863"},
        {"a start the drive did not give counts as 0", {"00:15:00", "2", {"00:02:00"}}, "02000F02"},
        {"no disc: every reply empty", {}, "00000000"},
    };
    for (const auto& c : cases) EXPECT_EQ(discIdFromReplies(c.replies).toStdString(), c.id) << c.what;
}

}  // namespace
}  // namespace velmora
