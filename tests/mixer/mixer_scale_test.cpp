#include "mixer/mixer_scale.h"

#include <gtest/gtest.h>

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

// Finer than ours (a sound server's), ours, coarser (a 5-bit codec), and one not from 0.
const Range kRanges[] = {
    {0, 65536, "SoundServer"},
    {0, 65535, "SameAsOurs"},
    {0, 31, "FiveBitCodec"},
    {-10239, 400, "OffsetRange"},
};

class MixerScale : public ::testing::TestWithParam<Range> {};

// Ends meet ends, both directions rise, and a value taken there and back lands within one
// step of the coarser scale: a poll's value written again leaves the mixer as it was.
TEST_P(MixerScale, EveryValueRoundTripsBothWays) {
    const Range r = GetParam();
    EXPECT_EQ(mixer_scale::toElement(0, r.min, r.max), r.min);
    EXPECT_EQ(mixer_scale::toElement(65535, r.min, r.max), r.max);
    EXPECT_EQ(mixer_scale::fromElement(r.min, r.min, r.max), 0);
    EXPECT_EQ(mixer_scale::fromElement(r.max, r.min, r.max), 65535);
    const long span = r.max - r.min;
    const long knobTolerance = span >= 65535 ? 0 : (65535 + span - 1) / span;
    long previousRaw = r.min;
    for (std::int32_t v = 0; v <= 65535; ++v) {
        const long raw = mixer_scale::toElement(v, r.min, r.max);
        ASSERT_LE(raw, r.max);
        ASSERT_GE(raw, previousRaw) << "at " << v;
        previousRaw = raw;
        const std::int32_t back = mixer_scale::fromElement(raw, r.min, r.max);
        ASSERT_LE(std::abs(back - v), knobTolerance) << v << " -> " << raw << " -> " << back;
    }
    const long rawTolerance = span > 65535 ? (span + 65534) / 65535 : 0;
    std::int32_t previous = 0;
    for (long raw = r.min; raw <= r.max; ++raw) {
        const std::int32_t v = mixer_scale::fromElement(raw, r.min, r.max);
        ASSERT_LE(v, 65535);
        ASSERT_GE(v, previous) << "raw " << raw;
        previous = v;
        ASSERT_LE(std::abs(mixer_scale::toElement(v, r.min, r.max) - raw), rawTolerance) << "raw " << raw;
    }
}

INSTANTIATE_TEST_SUITE_P(Ranges, MixerScale, ::testing::ValuesIn(kRanges),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(MixerScaleValues, KnownPointsClampsAndEmptyRanges) {
    struct Case {
        std::int64_t volume;
        long min, max;
        long raw;
    };
    const Case toElement[] = {
        {32768, 0, 65536, 32769},  // 32768.5 rounds up
        {32767, 0, 65536, 32767},  // 32767.5 would; 32767 * 65536 / 65535 = 32767.49..
        {70000, 0, 65536, 65536},  // above the scale: clamped, an element holds no more
        {-1, 0, 65536, 0},         // below it (a knob showing "no mixer"): the bottom
        {40000, 5, 5, 5},          // an empty range divides by nothing
    };
    for (const Case& c : toElement)
        EXPECT_EQ(mixer_scale::toElement(c.volume, c.min, c.max), c.raw)
            << c.volume << " on " << c.min << ".." << c.max;
    const Case fromElement[] = {
        {65535, 0, 65536, 98304},  // 150 % set by another program
        {0, 0, 65536, -5},
        {33825, 0, 31, 16},  // 16 * 65535 / 31 = 33824.5
        {0, 5, 5, 5},
    };
    for (const Case& c : fromElement)
        EXPECT_EQ(mixer_scale::fromElement(c.raw, c.min, c.max), c.volume) << c.raw << " on " << c.min << ".." << c.max;
}

}  // namespace
}  // namespace velmora
