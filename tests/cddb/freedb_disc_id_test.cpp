#include "cddb/freedb_disc_id.h"
#include "cddb/toc_disc_id.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

std::vector<int> evenlySpaced(int count, int first, int length) {
    std::vector<int> starts(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) starts[static_cast<std::size_t>(i)] = first + i * length;
    return starts;
}

}  // namespace

// IDs worked out by the format's definition; empty: a table no disc can have.
TEST(FreedbDiscId, GivesTheIdServersKnowAndRefusesImpossibleTables) {
    const struct {
        const char* name;
        std::vector<int> starts;
        int leadout;
        QString id;
    } cases[] = {
        {"one track", {150}, 150 + 75 * 60 * 3 + 17, "0200b401"},
        {"three tracks", {150, 14290, 35626}, 56757, "1c02f203"},
        {"twenty tracks, a checksum of 297", evenlySpaced(20, 150, 75 * 239), 150 + 20 * 75 * 239 + 40, "2a12ac14"},
        {"first track after a hidden one", {11250, 33000, 66000}, 99999, "1e049f03"},
        {"ninety-nine tracks", evenlySpaced(99, 150, 75 * 45), 150 + 99 * 75 * 45, "c9116763"},
        {"no tracks", {}, 1000, {}},
        {"a hundred tracks", evenlySpaced(100, 150, 1000), 200000, {}},
        {"starts out of order", {150, 9000, 8000}, 20000, {}},
        {"lead-out before the last start", {150, 9000}, 8000, {}},
        {"negative start", {-1, 9000}, 20000, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(freedbDiscId(c.starts, c.leadout), c.id) << c.name;
}

// The drive's replies in msf: the three tracks above, and replies that are no position.
TEST(CddbDiscIdFromToc, ReadsTheDrivesRepliesOrRefusesThem) {
    const std::pair<DiscTocReplies, QString> cases[] = {
        {{"12:34:56", "3", {"00:02:00", "03:10:40", "07:55:01"}}, "1c02f203"},
        {{"", "1", {"00:02:00"}}, {}},
        {{"40:00:00", "1", {"garbage"}}, {}},
        {{"40:00:00", "0", {}}, {}},
        {{"40:00:00", "1", {"00:02:75"}}, {}},
    };
    for (const auto& [toc, id] : cases)
        EXPECT_EQ(cddbDiscIdFromToc(toc), id) << toc.trackStarts.join(u',').toStdString();
}
