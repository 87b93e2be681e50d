#pragma once

#include "shared/units.h"

#include <QString>

#include <array>
#include <cstdint>

namespace velmora {

// The record of one disc. It holds a title for every track an audio CD can have, so no
// title the database or a lookup knows is dropped.
struct DiscRecord {
    QString ID;  // empty when no disc has been identified
    std::int32_t Revision = 0;
    std::int32_t NumberOfTracks = 0;
    QString Title;
    QString Artist;
    QString Extra;
    std::array<QString, kMaxTracks + 1> Track;  // indices 1..99; 0 unused

    QString& track(int n) { return Track.at(static_cast<std::size_t>(n)); }
    const QString& track(int n) const { return Track.at(static_cast<std::size_t>(n)); }
};

}  // namespace velmora
