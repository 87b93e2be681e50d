#include "discdb/track_list_entries.h"

#include "shared/reply_parse.h"
#include "shared/units.h"

#include <algorithm>
#include <limits>

namespace velmora {

namespace {
// "Track1".."Track99" exactly: no leading zeros, no sign, no blanks; 0 for anything else.
int trackNumberOf(QStringView key) {
    if (!key.startsWith(u"Track") || key.size() < 6 || key.size() > 7 || key[5] == u'0') return 0;
    int n = 0;
    for (qsizetype i = 5; i < key.size(); ++i) {
        if (key[i] < u'0' || key[i] > u'9') return 0;
        n = n * 10 + (key[i].unicode() - u'0');
    }
    return n <= kMaxTracks ? n : 0;
}

std::int32_t clampedNumber(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}
}  // namespace

void loadEditorEntries(const QStringList& entries, DiscRecord& disc) {
    for (const QString& entry : entries) {
        const qsizetype eq = entry.indexOf(u'=');
        if (eq < 0) continue;
        const QStringView key = QStringView(entry).left(eq);
        const QString value = entry.mid(eq + 1);
        if (key == u"Title") {
            disc.Title = value;
        } else if (key == u"Artist") {
            disc.Artist = value;
        } else if (key == u"Revision") {
            if (const auto number = strictWholeNumber(value)) disc.Revision = clampedNumber(*number);
        } else if (key == u"NumberOfTracks") {
            disc.NumberOfTracks = clampedNumber(numericValue(value));
        } else if (const int n = trackNumberOf(key)) {
            disc.track(n) = value;
        }
    }
}

QStringList editorSectionEntries(const DiscRecord& disc) {
    QStringList entries{QStringLiteral("Title=") + disc.Title, QStringLiteral("Artist=") + disc.Artist,
                        QStringLiteral("Revision=1"),
                        QStringLiteral("NumberOfTracks=") + QString::number(disc.NumberOfTracks)};
    const int last = std::min(disc.NumberOfTracks, kMaxTracks);
    entries.append(QStringLiteral("Track1=") + disc.track(1));
    for (int n = 2; n <= last; ++n) entries.append(QStringLiteral("Track%1=").arg(n) + disc.track(n));
    return entries;
}

}  // namespace velmora
