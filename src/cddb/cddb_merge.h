#pragma once

#include "cddb/cddb_record.h"

#include <QString>

#include <utility>
#include <vector>

namespace velmora {

// A record's titles as the track list editor's one-line boxes take them.
struct MergedTitles {
    QString title;
    QString artist;
    std::vector<std::pair<int, QString>> tracks;  // track number (1..99) and title, only those the record names
};

// Line breaks and tabs, which the record's escapes can carry, become blanks.
QString mergeText(const QString& text);

MergedTitles mergedTitles(const CddbRecord& record);

}  // namespace velmora
