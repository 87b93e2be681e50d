#pragma once

#include <QString>

#include <utility>
#include <vector>

namespace velmora {

// Titles found for a disc elsewhere (a lookup), as the track list editor takes them into
// its one-line boxes: no line breaks or tabs.
struct DiscTitles {
    QString title;
    QString artist;
    std::vector<std::pair<int, QString>> tracks;  // track number (1..99) and title, only those the source names
};

}  // namespace velmora
