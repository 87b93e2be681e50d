#pragma once

#include "player/play_modes.h"

namespace velmora {

struct PlayerState;

// The minutes and seconds the LED readout shows.
struct ReadoutTime {
    int minutes = 0;
    int seconds = 0;
};

// The readout's time as `shown` counts it: the position in the track as the refresh read
// it (elapsed), or what is left of the track or of the disc, from the track lengths.
// What is left is never less than nothing.
ReadoutTime readoutTime(const PlayerState& state, TimeDisplay shown);

}  // namespace velmora
