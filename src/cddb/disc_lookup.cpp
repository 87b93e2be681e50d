#include "cddb/disc_lookup.h"

#include "cddb/cddb_merge.h"

#include <QTimer>

namespace velmora {

DiscLookup::DiscLookup(HttpFetcher& musicBrainz, HttpFetcher& network, QObject* parent)
    : QObject(parent), musicBrainz_(musicBrainz), cddb_(network) {
    connect(&musicBrainz_, &MusicBrainzQuery::finished, this, [this](const MusicBrainzOutcome& found) {
        if (found.kind == MusicBrainzOutcome::Kind::Found) {
            outcome_.kind = DiscLookupOutcome::Kind::Found;
            outcome_.source = DiscLookupOutcome::Source::MusicBrainz;
            outcome_.titles = found.releases.front().titles();
            outcome_.releaseId = found.releases.front().id;
            end();
            return;
        }
        if (found.kind == MusicBrainzOutcome::Kind::Failed)
            outcome_.failures << QLatin1String(kMusicBrainzErrorTitle) + QStringLiteral(": ") + found.failureText;
        askCddb();
    });
    connect(&cddb_, &CddbQuery::finished, this, [this](const CddbOutcome& found) {
        if (found.kind == CddbOutcome::Kind::Found) {
            outcome_.kind = DiscLookupOutcome::Kind::Found;
            outcome_.source = DiscLookupOutcome::Source::Cddb;
            outcome_.titles = mergedTitles(found.record);
        } else if (found.kind == CddbOutcome::Kind::Failed) {
            outcome_.failures << QLatin1String(kCddbErrorTitle) + QStringLiteral(": ") + found.failureText;
        }
        end();
    });
}

DiscLookup::~DiscLookup() = default;

void DiscLookup::start(const DiscLookupRequest& request) {
    cancel();
    request_ = request;
    outcome_ = {};
    running_ = true;
    if (request_.askMusicBrainz && request_.musicBrainz.disc.valid()) {
        musicBrainz_.start(request_.musicBrainz);
        return;
    }
    // Nothing to ask on the first source: the second starts from the event loop all the same.
    QTimer::singleShot(0, this, [this] {
        if (running_ && !musicBrainz_.running() && !cddb_.running()) askCddb();
    });
}

void DiscLookup::cancel() {
    running_ = false;
    musicBrainz_.cancel();
    cddb_.cancel();
}

void DiscLookup::askCddb() {
    if (request_.askCddb && !request_.cddb.discId.isEmpty()) {
        cddb_.start(request_.cddb);
        return;
    }
    end();
}

void DiscLookup::end() {
    running_ = false;
    if (outcome_.kind != DiscLookupOutcome::Kind::Found && !outcome_.failures.isEmpty())
        outcome_.kind = DiscLookupOutcome::Kind::Failed;
    emit finished(outcome_);
}

}  // namespace velmora
