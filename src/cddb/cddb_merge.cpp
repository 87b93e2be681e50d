#include "cddb/cddb_merge.h"

#include "shared/units.h"

#include <algorithm>

namespace velmora {

QString mergeText(const QString& text) {
    QString flat = text;
    for (QChar& c : flat)
        if (c == u'\r' || c == u'\n' || c == u'\t') c = u' ';
    return flat;
}

DiscTitles mergedTitles(const CddbRecord& record) {
    DiscTitles merged{mergeText(record.title), mergeText(record.artist), {}};
    const int tracks = std::min(static_cast<int>(record.tracks.size()), kMaxTracks);
    for (int index = 0; index < tracks; ++index)
        if (const std::optional<QString> title = record.track(index))
            merged.tracks.emplace_back(index + 1, mergeText(*title));
    return merged;
}

}  // namespace velmora
