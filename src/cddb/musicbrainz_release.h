#pragma once

#include "discdb/disc_titles.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace velmora {

// One release that holds the disc, as MusicBrainz describes it: the medium that is the
// disc, its tracks in order and what tells releases apart. Texts carry no control
// characters.
struct MusicBrainzRelease {
    QString id;      // the release's MBID
    QString title;   // the disc's title: the release's, naming the disc on a release of several
    QString artist;  // the release's artist credit, join phrases included ("A feat. B")
    QString country;
    QString date;
    QString format;  // the medium's ("CD", "Enhanced CD")
    std::vector<QString> tracks;

    // "Title - Artist (GB, 1999-05-01, CD)", as the lookup window's chooser lists it.
    QString description() const;
    // The titles as the track list editor takes them: every track.
    DiscTitles titles() const;
};

// The releases of a disc lookup's answer (`/ws/2/discid/...?fmt=json`, by ID or by table
// of contents), in the answer's order. The medium of each release is the one that lists
// `discId`; in an answer by table of contents, failing that, the first with `tracks`
// tracks. A release without such a medium is left out. nullopt: not an answer of that form.
std::optional<std::vector<MusicBrainzRelease>> parseMusicBrainzReleases(const QByteArray& json, const QString& discId,
                                                                        int tracks);

// The error text of a MusicBrainz error answer ({"error": "..."}), empty when there is none.
QString musicBrainzError(const QByteArray& json);

}  // namespace velmora
