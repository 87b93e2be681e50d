#pragma once

#include <cstdint>

// The player's volume scale, 0 to 65535, against an ALSA element's raw playback range.
// Both directions round to the nearest step (halves upward). Where the element's range is
// at least as fine as ours (a sound server's 0..65536), a value written and read back is
// the value written; with a coarser range it comes back within one element step.
namespace velmora::mixer_scale {

inline constexpr std::int64_t kTop = 65535;

// A player volume as the element's raw value. Volumes outside 0..65535 are clamped first:
// an element cannot hold more than its range.
inline long toElement(std::int64_t volume, long min, long max) {
    if (max <= min) return min;
    if (volume < 0) volume = 0;
    if (volume > kTop) volume = kTop;
    const std::int64_t span = static_cast<std::int64_t>(max) - min;
    return static_cast<long>(min + (2 * volume * span + kTop) / (2 * kTop));
}

// An element's raw value on the player's scale. Raw values outside the range (a sound
// server lets other programs go above 100 %) read as the nearest end.
inline std::int32_t fromElement(long raw, long min, long max) {
    if (max <= min) return 0;
    if (raw < min) raw = min;
    if (raw > max) raw = max;
    const std::int64_t span = static_cast<std::int64_t>(max) - min;
    const std::int64_t offset = static_cast<std::int64_t>(raw) - min;
    return static_cast<std::int32_t>((2 * offset * kTop + span) / (2 * span));
}

}  // namespace velmora::mixer_scale
