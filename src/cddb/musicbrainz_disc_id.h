#pragma once

#include "discdb/disc_id.h"

#include <QString>

#include <vector>

namespace velmora {

// How MusicBrainz knows a disc: its disc ID and the table of contents the fuzzy lookup
// takes ("first+last+lead-out+offsets...", frames with the 150-frame lead-in).
struct MusicBrainzDisc {
    QString id;
    QString toc;
    int tracks = 0;  // the audio tracks the ID counts

    bool valid() const { return !id.isEmpty(); }
};

// Frames from the end of a disc's audio session to the start of its data session
// (the lead-out, lead-in and pre-gap between them), which an enhanced CD's ID leaves out.
inline constexpr int kSessionGapFrames = 11400;

// The MusicBrainz disc of a table: each track's start and the lead-out, in frames from
// the start of the disc. An enhanced CD (its last track a data track, after audio ones)
// is counted without that track, its audio ending a session gap before it. Invalid for a
// table no disc can have.
MusicBrainzDisc musicBrainzDisc(const std::vector<int>& trackStartFrames, int leadoutFrame, bool lastTrackIsData);

// The same from the drive's replies in msf (see cddbDiscIdFromToc).
MusicBrainzDisc musicBrainzDiscFromToc(const DiscTocReplies& toc, bool lastTrackIsData);

}  // namespace velmora
