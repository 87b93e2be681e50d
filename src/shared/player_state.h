#pragma once

#include "shared/disc_record.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace velmora {

// The program-wide state of the player: the disc in the drive, what the last refresh
// read back from the drive, and the settings in effect. One instance lives for the
// whole run, owned by the main window; every unit works on that instance, so tests
// can give each case a fresh one.
struct PlayerState {
    DiscRecord CurrentDisc;

    bool Playing = false;
    std::int16_t NumTracks = 0;
    QStringList TrackLengths;  // element n-1 holds the raw mm:ss:ff length of track n
    std::int16_t CurrentTrack = 0;
    std::int16_t CurrentMinute = 0;
    std::int16_t CurrentSecond = 0;
    QString MciCommand;          // scratch for building a command
    std::int32_t SeekStep = 0;   // seconds jumped by fast-forward and rewind
    std::int16_t SeekSeconds = 0;
    std::int16_t ProgressWidth = 0;
    bool ExitRequested = false;

    QString ActiveUserName;
    QString ActiveCDDBServer;

    // Element n of TrackLengths (1-based); empty when there is no such element.
    QString trackLength(int n) const {
        return (n >= 1 && n <= TrackLengths.size()) ? TrackLengths.at(n - 1) : QString();
    }
};

}  // namespace velmora
