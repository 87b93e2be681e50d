#pragma once

#include <QString>

#include <vector>

namespace velmora {

// The disc ID that CDDB servers know a disc by (eight lower-case hexadecimal digits),
// from the start of each audio track and the lead-out, in frames from the start of the
// disc with its 150-frame lead-in (track 1 of an ordinary disc starts at 150). Empty for
// a table no disc can have: no tracks or more than 99, starts out of order, a lead-out
// before the last start.
QString freedbDiscId(const std::vector<int>& trackStartFrames, int leadoutFrame);

// The lead-out from the drive's whole-disc length, which stops one frame short of it and
// counts from the first track's start.
constexpr int leadoutFromDiscLength(int firstTrackStartFrame, int discLengthFrames) {
    return firstTrackStartFrame + discLengthFrames + 1;
}

}  // namespace velmora
