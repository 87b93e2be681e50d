#include "cddb/musicbrainz_release.h"

#include "shared/clean_text.h"
#include "shared/units.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>

namespace velmora {

namespace {

QString text(const QJsonValue& value) { return cleanExternalText(value.toString()).trimmed(); }

QString artistCredit(const QJsonArray& credit) {
    QString joined;
    for (const auto& part : credit) {
        const QJsonObject name = part.toObject();
        QString credited = name.value(QLatin1String("name")).toString();
        if (credited.isEmpty())
            credited = name.value(QLatin1String("artist")).toObject().value(QLatin1String("name")).toString();
        joined += credited + name.value(QLatin1String("joinphrase")).toString();
    }
    return cleanExternalText(joined).trimmed();
}

bool listsDisc(const QJsonObject& medium, const QString& discId) {
    if (discId.isEmpty()) return false;
    const QJsonArray discs = medium.value(QLatin1String("discs")).toArray();
    return std::any_of(discs.begin(), discs.end(), [&](const QJsonValue& d) {
        return d.toObject().value(QLatin1String("id")).toString() == discId;
    });
}

int trackCount(const QJsonObject& medium) {
    const QJsonValue count = medium.value(QLatin1String("track-count"));
    return count.isDouble() ? count.toInt() : static_cast<int>(medium.value(QLatin1String("tracks")).toArray().size());
}

std::optional<MusicBrainzRelease> releaseOf(const QJsonObject& release, const QString& discId, int tracks, bool byToc) {
    const QJsonArray media = release.value(QLatin1String("media")).toArray();
    qsizetype chosen = -1;
    for (qsizetype i = 0; i < media.size() && chosen < 0; ++i)
        if (listsDisc(media[i].toObject(), discId)) chosen = i;
    for (qsizetype i = 0; i < media.size() && chosen < 0 && byToc; ++i)
        if (trackCount(media[i].toObject()) == tracks) chosen = i;
    if (chosen < 0) return std::nullopt;
    const QJsonObject medium = media[chosen].toObject();

    MusicBrainzRelease found;
    found.id = text(release.value(QLatin1String("id")));
    found.artist = artistCredit(release.value(QLatin1String("artist-credit")).toArray());
    found.country = text(release.value(QLatin1String("country")));
    found.date = text(release.value(QLatin1String("date")));
    found.format = text(medium.value(QLatin1String("format")));
    found.title = text(release.value(QLatin1String("title")));
    if (media.size() > 1) {
        const QString own = text(medium.value(QLatin1String("title")));
        const int position = medium.value(QLatin1String("position")).toInt(static_cast<int>(chosen) + 1);
        found.title += own.isEmpty() ? QStringLiteral(" (Disc %1 of %2)").arg(position).arg(media.size())
                                     : QStringLiteral(" (%1)").arg(own);
    }

    struct Numbered {
        int position;
        QString title;
    };
    std::vector<Numbered> list;
    for (const auto& value : medium.value(QLatin1String("tracks")).toArray()) {
        const QJsonObject track = value.toObject();
        QString title = text(track.value(QLatin1String("title")));
        if (title.isEmpty())
            title = text(track.value(QLatin1String("recording")).toObject().value(QLatin1String("title")));
        list.push_back({track.value(QLatin1String("position")).toInt(static_cast<int>(list.size()) + 1), title});
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const Numbered& a, const Numbered& b) { return a.position < b.position; });
    for (const Numbered& track : list) {
        if (static_cast<int>(found.tracks.size()) >= kMaxTracks) break;
        found.tracks.push_back(track.title);
    }
    return found;
}

}  // namespace

QString MusicBrainzRelease::description() const {
    QStringList details;
    for (const QString& detail : {country, date, format})
        if (!detail.isEmpty()) details << detail;
    QString line = title;
    if (!artist.isEmpty()) line += QStringLiteral(" - ") + artist;
    if (!details.isEmpty()) line += QStringLiteral(" (%1)").arg(details.join(QLatin1String(", ")));
    return line;
}

DiscTitles MusicBrainzRelease::titles() const {
    DiscTitles titles{title, artist, {}};
    for (std::size_t i = 0; i < tracks.size(); ++i) titles.tracks.emplace_back(static_cast<int>(i) + 1, tracks[i]);
    return titles;
}

std::optional<std::vector<MusicBrainzRelease>> parseMusicBrainzReleases(const QByteArray& json, const QString& discId,
                                                                        int tracks) {
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject()) return std::nullopt;
    const QJsonValue releases = document.object().value(QLatin1String("releases"));
    if (!releases.isArray()) return std::nullopt;
    // An answer by disc ID names the ID; one by table of contents matched no ID.
    const bool byToc = !document.object().contains(QLatin1String("id"));
    std::vector<MusicBrainzRelease> found;
    for (const auto& release : releases.toArray())
        if (std::optional<MusicBrainzRelease> one = releaseOf(release.toObject(), discId, tracks, byToc))
            found.push_back(*std::move(one));
    return found;
}

QString musicBrainzError(const QByteArray& json) {
    const QJsonDocument document = QJsonDocument::fromJson(json);
    return document.isObject() ? text(document.object().value(QLatin1String("error"))) : QString();
}

}  // namespace velmora
