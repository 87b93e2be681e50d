#pragma once

#include "cddb/cddb_record.h"
#include "discdb/disc_titles.h"

#include <QString>

namespace velmora {

// Line breaks and tabs, which the record's escapes can carry, become blanks.
QString mergeText(const QString& text);

// A record's titles as the track list editor's one-line boxes take them: only the tracks
// the record names.
DiscTitles mergedTitles(const CddbRecord& record);

}  // namespace velmora
