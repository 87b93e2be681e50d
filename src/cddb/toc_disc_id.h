#pragma once

#include "discdb/disc_id.h"

#include <QString>

#include <optional>
#include <vector>

namespace velmora {

// Frames of an "mm:ss:ff" drive reply; nullopt for any other text.
std::optional<int> msfFrames(const QString& reply);

// The track starts and the lead-out in frames from the drive's replies in msf: the track
// starts count from the start of the disc, the disc length from the first track's start
// and one frame short of the lead-out. nullopt when a reply is not a position.
struct TocFrames {
    std::vector<int> starts;
    int leadout = 0;
};
std::optional<TocFrames> tocFrames(const DiscTocReplies& toc);

// The disc ID CDDB servers know the disc by, from the drive's replies (tocFrames); empty
// when a reply is not a position.
QString cddbDiscIdFromToc(const DiscTocReplies& toc);

}  // namespace velmora
