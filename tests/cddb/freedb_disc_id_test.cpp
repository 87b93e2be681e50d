#include "cddb/freedb_disc_id.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// The CDDB disc ID written out from the format's own definition.
QString byTheFormula(const std::vector<int>& starts, int leadout) {
    auto digitSum = [](int n) {
        int s = 0;
        for (; n > 0; n /= 10) s += n % 10;
        return s;
    };
    int checksum = 0;
    for (const int start : starts) checksum += digitSum(start / 75);
    const unsigned seconds = static_cast<unsigned>(leadout / 75 - starts.front() / 75);
    const unsigned id = (static_cast<unsigned>(checksum % 255) << 24) | (seconds << 8) | static_cast<unsigned>(starts.size());
    return QStringLiteral("%1").arg(id, 8, 16, QLatin1Char('0'));
}

std::vector<int> evenlySpaced(int count, int first, int length) {
    std::vector<int> starts(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) starts[static_cast<std::size_t>(i)] = first + i * length;
    return starts;
}

struct TocCase {
    const char* name;
    std::vector<int> starts;
    int leadout;
};

}  // namespace

TEST(FreedbDiscId, AgreesWithTheFormatsDefinition) {
    const TocCase cases[] = {
        {"one track", {150}, 150 + 75 * 60 * 3 + 17},
        {"twelve tracks", {150, 15363, 32314, 46592, 63414, 80489, 95862, 112142, 128306, 144700, 160219, 178130}, 198840},
        // 20 tracks: a checksum well over 255, reduced modulo 255.
        {"twenty tracks", evenlySpaced(20, 150, 75 * 239), 150 + 20 * 75 * 239 + 40},
        {"first track after a hidden one", {11250, 33000, 66000}, 99999},
        {"ninety-nine tracks", evenlySpaced(99, 150, 75 * 45), 150 + 99 * 75 * 45},
    };
    for (const auto& c : cases) EXPECT_EQ(freedbDiscId(c.starts, c.leadout), byTheFormula(c.starts, c.leadout)) << c.name;
}

TEST(FreedbDiscId, RefusesATableNoDiscCanHave) {
    const TocCase cases[] = {
        {"no tracks", {}, 1000},
        {"a hundred tracks", evenlySpaced(100, 150, 1000), 200000},
        {"starts out of order", {150, 9000, 8000}, 20000},
        {"lead-out before the last start", {150, 9000}, 8000},
        {"negative start", {-1, 9000}, 20000},
    };
    for (const auto& c : cases) EXPECT_TRUE(freedbDiscId(c.starts, c.leadout).isEmpty()) << c.name;
}
