#include "app/auto_lookup.h"

#include "cddb/toc_disc_id.h"
#include "discdb/disc_database.h"
#include "discdb/profile_file.h"
#include "player/player_core.h"
#include "settings/active_settings.h"

#include <QUrl>

#include <utility>

namespace velmora {

AutoLookup::AutoLookup(PlayerCore& core, DiscDatabase& database, ActiveSettings& settings, HttpFetcher& musicBrainz,
                       HttpFetcher& network, QString coverFolder, QObject* parent)
    : QObject(parent),
      core_(core),
      database_(database),
      settings_(settings),
      lookup_(musicBrainz, network),
      coverFetch_(network),
      covers_(std::move(coverFolder)) {
    // From the event loop: the identity tells inside the refresh, and the lookup asks the drive.
    connect(&core_.identity, &DiscIdentity::discAdded, this, &AutoLookup::discAdded, Qt::QueuedConnection);
    connect(&lookup_, &DiscLookup::finished, this, &AutoLookup::lookupEnded);
    connect(&core_.session, &PlayerSession::discChanged, this, [this] {
        const QString& inDrive = core_.session.disc().ID;
        if (running() && inDrive != discId_) cancel();
        if (!coverDiscId_.isEmpty() && inDrive != coverDiscId_) {
            coverFetch_.cancel();
            coverDiscId_.clear();
        }
    });
    connect(&coverFetch_, &CoverArtFetch::finished, this, [this](const QByteArray& picture) {
        const QString discId = std::exchange(coverDiscId_, QString());
        if (picture.isEmpty() || covers_.store(discId, picture).isEmpty()) return;
        shownCoverId_.clear();
        emit coverChanged();
    });
}

AutoLookup::~AutoLookup() = default;

void AutoLookup::cancel() {
    lookup_.cancel();
    coverFetch_.cancel();
    coverDiscId_.clear();
}

void AutoLookup::discAdded(const NewDisc& disc) {
    if (disc.titledByDisc || !settings_.LookupAutomatically() || (mayStart_ && !mayStart_())) return;
    if (core_.session.disc().ID != disc.discId) return;  // gone again before the event loop came round
    cancel();

    // An enhanced CD's last track is data; its MusicBrainz ID leaves that track out.
    const bool lastIsData = lastTrackIsData(core_.session.channel(), disc.toc);
    DiscLookupRequest request;
    request.musicBrainz = {settings_.ActiveMusicBrainzServer(), musicBrainzDiscFromToc(disc.toc, lastIsData)};
    request.cddb = {settings_.ActiveCDDBServer(), settings_.ActiveUserName(), cddbDiscIdFromToc(disc.toc)};
    discId_ = disc.discId;
    tracks_ = disc.tracks;
    lookup_.start(request);
}

void AutoLookup::lookupEnded(const DiscLookupOutcome& outcome) {
    const bool stored = outcome.kind == DiscLookupOutcome::Kind::Found && store(outcome.titles);
    if (stored && outcome.source == DiscLookupOutcome::Source::MusicBrainz && !outcome.releaseId.isEmpty())
        fetchCover(discId_, outcome.releaseId);
    emit ended(stored);
}

bool AutoLookup::store(const DiscTitles& titles) {
    if (core_.session.disc().ID != discId_) return false;
    // Only over the defaults it was given: titles typed meanwhile stay.
    QString error;
    const QStringList now = database_.entries(discId_, &error);
    if (!error.isEmpty() || now != profile::entriesOf(DiscDatabase::defaultSectionText(tracks_))) return false;

    std::vector<QString> trackTitles(static_cast<std::size_t>(tracks_));
    for (const auto& [number, title] : titles.tracks)
        if (number >= 1 && number <= tracks_) trackTitles[static_cast<std::size_t>(number - 1)] = title;
    const auto orDefault = [](const QString& text, const char* fallback) {
        return text.trimmed().isEmpty() ? QString::fromLatin1(fallback) : text;
    };
    QStringList entries{QStringLiteral("Title=") + orDefault(titles.title, "Unknown Title"),
                        QStringLiteral("Artist=") + orDefault(titles.artist, "Unknown Artist"),
                        QStringLiteral("Revision=1"), QStringLiteral("NumberOfTracks=%1").arg(tracks_)};
    for (int n = 1; n <= tracks_; ++n)
        entries << QStringLiteral("Track%1=").arg(n) + trackTitles[static_cast<std::size_t>(n - 1)];
    if (const QString why = database_.store(discId_, entries); !why.isEmpty()) {
        core_.session.reportProblem(why);
        return false;
    }
    DiscRecord found;
    loadDiscEntries(entries, found);
    core_.session.takeLookedUpDisc(discId_, found);
    return true;
}

void AutoLookup::fetchCover(const QString& discId, const QString& releaseId) {
    const QString server = settings_.ActiveCoverArtServer();
    if (discId.isEmpty() || releaseId.isEmpty() || server.trimmed().isEmpty()) return;
    coverDiscId_ = discId;
    coverFetch_.start(server, releaseId);
}

QString AutoLookup::coverUrl() const {
    const QString& inDrive = core_.session.disc().ID;
    if (inDrive != shownCoverId_) {
        shownCoverId_ = inDrive;
        const QString path = covers_.find(inDrive);
        shownCover_ = path.isEmpty() ? QString() : QUrl::fromLocalFile(path).toString();
    }
    return shownCover_;
}

}  // namespace velmora
