#pragma once

#include "shared/disc_text.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace velmora {

struct ImageTrackSpec {
    int frames = 0;     // length in CD frames (1/75 s)
    bool audio = true;  // false: a data track (MODE1/2352, zero-filled)
};

// Fills one CD frame of a track: 588 interleaved stereo samples.
using FrameFill = std::function<void(int track, int frameInTrack, std::int16_t* samples)>;

// Writes a BIN/CUE disc image: `cuePath` and, beside it, a .bin of the same base name.
// Track 1 starts at the beginning of the .bin (absolute frame 150 on the disc). The sheet
// carries `text` as its CD-Text (TITLE and PERFORMER lines; a double quote becomes a single).
bool writeBinCueImage(const QString& cuePath, const std::vector<ImageTrackSpec>& tracks, const FrameFill& fill,
                      QString* error, const DiscText& text = {});

}  // namespace velmora
