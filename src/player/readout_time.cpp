#include "player/readout_time.h"

#include "player/disc_place.h"
#include "player/player_state.h"
#include "shared/units.h"

#include <algorithm>

namespace velmora {

ReadoutTime readoutTime(const PlayerState& state, TimeDisplay shown) {
    if (shown == TimeDisplay::Elapsed) return {state.CurrentMinute, state.CurrentSecond};
    const int elapsed = (state.CurrentMinute * 60 + state.CurrentSecond) * kFramesPerSecond;
    int left = std::max(0, trackFrames(state, state.CurrentTrack) - elapsed);
    if (shown == TimeDisplay::DiscRemaining) {
        for (int t = state.CurrentTrack + 1; t <= state.NumTracks; ++t) left += trackFrames(state, t);
    }
    // A countdown shows the seconds begun, so it reads 00:00 only at the very end (the
    // last track's reported length is a frame short of it).
    const int seconds = (left + kFramesPerSecond - 1) / kFramesPerSecond;
    return {seconds / 60, seconds % 60};
}

}  // namespace velmora
