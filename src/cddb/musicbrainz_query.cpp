#include "cddb/musicbrainz_query.h"

#include "cddb/reply_text.h"
#include "shared/clean_text.h"

#include <QUrlQuery>

namespace velmora {

namespace {

MusicBrainzOutcome failed(const QString& text) {
    MusicBrainzOutcome outcome;
    outcome.kind = MusicBrainzOutcome::Kind::Failed;
    outcome.failureText = text;
    return outcome;
}

QString transferFailure(HttpError error) {
    switch (error) {
    case HttpError::HostNotFound:
        return QStringLiteral("The MusicBrainz server was not found.");
    case HttpError::ConnectionRefused:
        return QStringLiteral("The MusicBrainz server refused the connection.");
    case HttpError::ConnectionClosed:
        return QStringLiteral("The MusicBrainz server closed the connection.");
    case HttpError::ConnectionFailed:
        return QStringLiteral("The MusicBrainz server cannot be reached.");
    case HttpError::TooLarge:
        return QStringLiteral("The MusicBrainz answer was too large.");
    default:
        return QStringLiteral("The request to MusicBrainz timed out.");
    }
}

}  // namespace

QUrl musicBrainzDiscUrl(const MusicBrainzLookup& lookup, bool byToc) {
    QString server = lookup.server.trimmed();
    while (server.endsWith(u'/')) server.chop(1);
    QUrl url(server + QStringLiteral("/ws/2/discid/") + lookup.disc.id);
    // The service reads "+" in these values as the separator it is.
    QString query;
    if (byToc) query = QStringLiteral("toc=") + lookup.disc.toc + QStringLiteral("&cdstubs=no&");
    query += QStringLiteral("inc=artist-credits+recordings&fmt=json");
    url.setQuery(query, QUrl::StrictMode);
    return url;
}

MusicBrainzQuery::MusicBrainzQuery(HttpFetcher& fetcher, QObject* parent) : QObject(parent), fetcher_(fetcher) {}

MusicBrainzQuery::~MusicBrainzQuery() = default;

void MusicBrainzQuery::start(const MusicBrainzLookup& lookup) {
    cancel();
    lookup_ = lookup;
    ask(false);
}

void MusicBrainzQuery::cancel() { request_.reset(); }

void MusicBrainzQuery::ask(bool byToc) {
    byToc_ = byToc;
    request_ = fetcher_.get(musicBrainzDiscUrl(lookup_, byToc));
    connect(request_.get(), &HttpRequest::finished, this, &MusicBrainzQuery::replied);
}

void MusicBrainzQuery::replied(const HttpReply& reply) {
    const std::unique_ptr<HttpRequest> done = std::move(request_);
    MusicBrainzOutcome outcome;
    if (reply.status == 404) {
        if (!byToc_ && !lookup_.disc.toc.isEmpty()) {
            ask(true);
            return;
        }
    } else if (reply.error == HttpError::HttpStatus) {
        QString words = musicBrainzError(reply.body);
        if (words.isEmpty())
            words = cleanExternalText(decodeReplyText(reply.body.left(200), reply.header("Content-Type"))).trimmed();
        outcome = failed(QStringLiteral("MusicBrainz answered %1%2")
                             .arg(reply.status)
                             .arg(words.isEmpty() ? QString() : QStringLiteral(": ") + words));
    } else if (!reply.ok()) {
        outcome = failed(transferFailure(reply.error));
    } else if (auto releases = parseMusicBrainzReleases(reply.body, lookup_.disc.id, lookup_.disc.tracks)) {
        if (!releases->empty()) {
            outcome.kind = MusicBrainzOutcome::Kind::Found;
            outcome.releases = std::move(*releases);
        } else if (!byToc_ && !lookup_.disc.toc.isEmpty()) {
            ask(true);  // the ID is known but names no release with this disc
            return;
        }
    } else {
        outcome = failed(QStringLiteral("The MusicBrainz answer could not be read."));
    }
    emit finished(outcome);  // last: a slot may delete the query
}

}  // namespace velmora
