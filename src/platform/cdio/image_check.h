#pragma once

#include <QString>

namespace velmora {

// Checks a cue sheet or cdrdao table of contents before libcdio reads it, so that a bad
// image fails to open with a sentence a user can act on (libcdio accepts some broken
// sheets silently, or only logs why it gave up). Returns an empty string when the
// image looks sound.
QString checkCueSheet(const QString& cuePath);
QString checkTocFile(const QString& tocPath);

}  // namespace velmora
