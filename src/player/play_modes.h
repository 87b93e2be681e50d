#pragma once

namespace velmora {

// What plays again when a track or the disc has played through.
enum class Repeat { Off, Track, Disc };

// What the readout's minutes and seconds count.
enum class TimeDisplay { Elapsed, TrackRemaining, DiscRemaining };

// The play modes. With all of them off the disc plays through once, and the transport
// sends exactly the commands it sends without modes.
struct PlayModes {
    Repeat repeat = Repeat::Off;
    bool shuffle = false;
    bool introScan = false;

    bool anyOn() const { return repeat != Repeat::Off || shuffle || introScan; }
    // Each track plays as a stretch of its own that the drive stops at, and the player
    // chooses what follows; otherwise the drive plays on to the end of the disc.
    bool trackByTrack() const { return repeat == Repeat::Track || shuffle || introScan; }
    bool operator==(const PlayModes&) const = default;
};

// The R key's round: off, the track, the disc, off.
inline Repeat nextRepeat(Repeat repeat) {
    return repeat == Repeat::Off ? Repeat::Track : repeat == Repeat::Track ? Repeat::Disc : Repeat::Off;
}

// A click on the readout: elapsed, left in the track, left on the disc, elapsed.
inline TimeDisplay nextTimeDisplay(TimeDisplay shown) {
    return shown == TimeDisplay::Elapsed          ? TimeDisplay::TrackRemaining
           : shown == TimeDisplay::TrackRemaining ? TimeDisplay::DiscRemaining
                                                  : TimeDisplay::Elapsed;
}

}  // namespace velmora
