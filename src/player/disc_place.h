#pragma once

#include <QString>

namespace velmora {

struct PlayerState;

// A place on the disc as the drive tells it in tmsf: a track and the frames into it.
struct TrackPoint {
    int track = 0;
    int frame = 0;
    bool operator==(const TrackPoint&) const = default;
};

// Where a play stops by itself: at `at` (the start of the next track, ten seconds into a
// track, the end of the last one), or, for a play without an end of its own, at the end
// of the disc's audio.
struct PlayEnd {
    bool discEnd = true;
    TrackPoint at;
    bool operator==(const PlayEnd&) const = default;

    static PlayEnd endOfDisc() { return {}; }
    static PlayEnd atPoint(TrackPoint point) { return {false, point}; }
    // The end in tmsf as the "to" of a play: "4" for the start of track 4, else
    // track:minutes:seconds:frames.
    QString tmsf() const;
};

// "tt:mm:ss:ff" as a place; a reply that is no position reads as track 0.
TrackPoint tmsfPoint(const QString& reply);
// The length of `track` in frames, from the refresh's mm:ss:ff; 0 when unknown.
int trackFrames(const PlayerState& state, int track);

}  // namespace velmora
