#pragma once

// MusicBrainz disc lookup answers in the service's JSON schema, written by the tests.
#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace mb {

struct Medium {
    QStringList tracks;
    QStringList discIds;  // the disc IDs MusicBrainz attaches to the medium
    QString title = {};
    QString format = QStringLiteral("CD");
};

// An artist credit: (name, join phrase) pairs.
using Credit = std::vector<std::pair<QString, QString>>;

inline QJsonObject release(const QString& id, const QString& title, const Credit& credit, const QString& country,
                           const QString& date, const std::vector<Medium>& media) {
    QJsonArray credits;
    for (const auto& [name, join] : credit)
        credits.append(QJsonObject{{"name", name},
                                   {"joinphrase", join},
                                   {"artist", QJsonObject{{"id", "a-" + name}, {"name", name}, {"sort-name", name}}}});
    QJsonArray mediaJson;
    int position = 0;
    for (const Medium& medium : media) {
        QJsonArray discs;
        for (const QString& disc : medium.discIds) discs.append(QJsonObject{{"id", disc}, {"sectors", 200000}});
        QJsonArray tracks;
        int number = 0;
        for (const QString& track : medium.tracks) {
            ++number;
            tracks.append(QJsonObject{
                {"id", QStringLiteral("t%1").arg(number)},
                {"position", number},
                {"number", QString::number(number)},
                {"title", track},
                {"length", 180000},
                {"recording",
                 QJsonObject{{"id", QStringLiteral("r%1").arg(number)}, {"title", track}, {"length", 180000}}}});
        }
        mediaJson.append(QJsonObject{{"position", ++position},
                                     {"title", medium.title},
                                     {"format", medium.format},
                                     {"track-count", static_cast<int>(medium.tracks.size())},
                                     {"discs", discs},
                                     {"tracks", tracks}});
    }
    return QJsonObject{{"id", id},     {"title", title},           {"status", "Official"}, {"country", country},
                       {"date", date}, {"artist-credit", credits}, {"media", mediaJson}};
}

// The answer of a lookup by disc ID, or (`discId` empty) of one by table of contents.
inline QByteArray answer(const QString& discId, const std::vector<QJsonObject>& releases) {
    QJsonArray list;
    for (const QJsonObject& r : releases) list.append(r);
    QJsonObject body{{"releases", list}};
    if (discId.isEmpty()) {
        body.insert("release-count", static_cast<int>(releases.size()));
        body.insert("release-offset", 0);
    } else {
        body.insert("id", discId);
        body.insert("sectors", 200000);
        body.insert("offset-count", 12);
    }
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

inline QStringList numbered(const QString& stem, int count) {
    QStringList titles;
    for (int i = 1; i <= count; ++i) titles << QStringLiteral("%1 %2").arg(stem).arg(i);
    return titles;
}

inline const QByteArray kNotFound =
    R"({"error":"Not Found","help":"For usage, please see: https://musicbrainz.org/development/mmd"})";

}  // namespace mb
