#pragma once

#include <cstdint>
#include <string>

namespace velmora {

inline constexpr int kSectorBytes = 2352;
inline constexpr int kSamplesPerSector = 588;  // stereo frames of 44.1 kHz audio per CD frame

enum class SectorReadResult {
    Ok,
    Damaged,  // unreadable: the buffer holds silence and playback goes on
    NoMedia,  // the disc is gone: playback ends
    Failed,   // the audio cannot be read (lastError says why): playback ends
};

// Reads CD audio sectors for the playback engine's reader thread. Absolute frames (with
// the 150-frame lead-in). Output is little-endian 16-bit stereo, as on the disc.
class SectorReader {
public:
    virtual ~SectorReader() = default;
    // Reads `count` sectors (at most 75) starting at `frame` into `out`
    // (count * kSectorBytes bytes).
    virtual SectorReadResult read(int frame, int count, std::uint8_t* out) = 0;
    virtual std::string lastError() const { return {}; }
};

}  // namespace velmora
