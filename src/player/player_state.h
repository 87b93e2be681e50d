#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace velmora {

// What the last refresh saw in the drive.
enum class DiscKind { None, Data, Audio };

// Which transport commands are of use; the buttons and menu items follow it. Eject is
// always of use and is not listed.
struct TransportEnables {
    bool play = false;
    bool stop = false;
    bool pause = false;
    bool jump = false;  // fast-forward and rewind
    bool next = false;
    bool previous = false;

    bool operator==(const TransportEnables&) const = default;

    static TransportEnables none() { return {}; }
    static TransportEnables forPlaying(bool playing) { return {!playing, playing, playing, playing, true, true}; }
};

// The player's reading of the drive, as the last refresh (or command) left it.
struct PlayerState {
    bool Playing = false;
    bool Paused = false;  // the drive said "paused" (for the desktop's media panel)
    std::int16_t NumTracks = 0;
    QStringList TrackLengths;  // element n-1 holds the raw mm:ss:ff length of track n
    std::int16_t CurrentTrack = 0;
    std::int16_t CurrentMinute = 0;
    std::int16_t CurrentSecond = 0;
    std::int16_t CurrentFrame = 0;  // the frames past CurrentSecond, for the desktop bus's position
    std::int32_t SeekStep = 0;      // seconds jumped by fast-forward and rewind
    std::int16_t SeekSeconds = 0;
    std::int16_t ProgressWidth = 0;
    int barWidthTwips = 0;  // what the position bar shows: the refresh's width, or the drag's
    DiscKind discKind = DiscKind::None;
    TransportEnables enables;

    // Element n of TrackLengths (1-based); empty when there is no such element.
    QString trackLength(int n) const {
        return (n >= 1 && n <= TrackLengths.size()) ? TrackLengths.at(n - 1) : QString();
    }
};

}  // namespace velmora
