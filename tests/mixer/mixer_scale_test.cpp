#include "mixer/mixer_scale.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <ostream>

namespace velmora {
namespace {

struct Range {
    long min;
    long max;
    const char* what;
};

void PrintTo(const Range& r, std::ostream* os) { *os << r.min << ".." << r.max << " (" << r.what << ")"; }

// Ranges met in practice: a sound server's, one exactly ours, codec registers of 5, 7 and
// 8 bits, and a range that does not start at 0.
const Range kRanges[] = {
    {0, 65536, "sound server"},
    {0, 65535, "same as ours"},
    {0, 31, "5-bit codec"},
    {0, 87, "7-bit codec, part used"},
    {0, 255, "8-bit"},
    {-10239, 400, "offset range"},
};

class MixerScale : public ::testing::TestWithParam<Range> {};

TEST_P(MixerScale, EndsMeetEnds) {
    const Range r = GetParam();
    EXPECT_EQ(mixer_scale::toElement(0, r.min, r.max), r.min);
    EXPECT_EQ(mixer_scale::toElement(65535, r.min, r.max), r.max);
    EXPECT_EQ(mixer_scale::fromElement(r.min, r.min, r.max), 0);
    EXPECT_EQ(mixer_scale::fromElement(r.max, r.min, r.max), 65535);
}

// Every knob position written and read back lands within one element step, and exactly
// where the element is at least as fine as the knob. Both directions rise monotonically.
TEST_P(MixerScale, EveryKnobValueRoundTrips) {
    const Range r = GetParam();
    const long span = r.max - r.min;
    const long tolerance = span >= 65535 ? 0 : (65535 + span - 1) / span;
    long previousRaw = r.min;
    for (std::int32_t v = 0; v <= 65535; ++v) {
        const long raw = mixer_scale::toElement(v, r.min, r.max);
        ASSERT_GE(raw, r.min);
        ASSERT_LE(raw, r.max);
        ASSERT_GE(raw, previousRaw) << "at " << v;
        previousRaw = raw;
        const std::int32_t back = mixer_scale::fromElement(raw, r.min, r.max);
        ASSERT_LE(std::abs(back - v), tolerance) << r.what << ": " << v << " -> " << raw << " -> " << back;
    }
}

// A raw value read and written back lands where it was (exactly, unless the element is
// finer than the knob): a poll's value written again leaves the mixer as it was.
TEST_P(MixerScale, EveryElementValueIsStable) {
    const Range r = GetParam();
    const long span = r.max - r.min;
    const long tolerance = span > 65535 ? (span + 65534) / 65535 : 0;
    for (long raw = r.min; raw <= r.max; ++raw) {
        const std::int32_t v = mixer_scale::fromElement(raw, r.min, r.max);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 65535);
        ASSERT_LE(std::abs(mixer_scale::toElement(v, r.min, r.max) - raw), tolerance) << r.what << " raw " << raw;
    }
}

INSTANTIATE_TEST_SUITE_P(Ranges, MixerScale, ::testing::ValuesIn(kRanges), [](const auto& info) {
    std::string name;
    for (const char* c = info.param.what; *c; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
    return name;
});

TEST(MixerScaleValues, KnownPoints) {
    struct Case {
        std::int64_t volume;
        long min, max;
        long raw;
    };
    const Case cases[] = {
        {32768, 0, 65536, 32769},   // 32768.5 rounds up
        {32767, 0, 65536, 32767},   // 32767.5 would; 32767 * 65536 / 65535 = 32767.49..
        {1, 0, 65536, 1},
        {32768, 0, 31, 16},         // 15.5 rounds up
        {32767, 0, 31, 15},
        {65535, -10239, 400, 400},
        {70000, 0, 65536, 65536},   // above the scale: clamped, an element holds no more
        {-1, 0, 65536, 0},          // below it (a knob showing "no mixer"): the bottom
        {-2147483648LL, 0, 255, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mixer_scale::toElement(c.volume, c.min, c.max), c.raw) << c.volume << " on " << c.min << ".." << c.max;
}

TEST(MixerScaleValues, RawOutsideRangeReadsAsNearestEnd) {
    EXPECT_EQ(mixer_scale::fromElement(98304, 0, 65536), 65535);  // 150 % set by another program
    EXPECT_EQ(mixer_scale::fromElement(-5, 0, 65536), 0);
    EXPECT_EQ(mixer_scale::fromElement(16, 0, 31), 33825);        // 16 * 65535 / 31 = 33824.5
}

TEST(MixerScaleValues, EmptyRangeDoesNotDivideByZero) {
    EXPECT_EQ(mixer_scale::toElement(40000, 5, 5), 5);
    EXPECT_EQ(mixer_scale::fromElement(5, 5, 5), 0);
    EXPECT_EQ(mixer_scale::fromElement(5, 9, 2), 0);
}

}  // namespace
}  // namespace velmora
