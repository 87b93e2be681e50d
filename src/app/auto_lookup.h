#pragma once

#include "cddb/cover_art.h"
#include "cddb/disc_lookup.h"
#include "player/disc_identity.h"

#include <QObject>
#include <QString>

#include <functional>

namespace velmora {

class ActiveSettings;
class DiscDatabase;
class HttpFetcher;
struct PlayerCore;

// Looks a disc up by itself when the player identifies it for the first time and the disc
// brought no titles of its own: MusicBrainz, then the CDDB server, without a window or a
// question. The first record found becomes the disc's section, written as the editor
// writes one, and the session shows it at once; a MusicBrainz release also brings its
// front cover. The lookup ends without a trace when the disc leaves the drive, another
// takes its place, the editor opens or the program quits, and nothing is written over a
// section that no longer holds the defaults (the user typed titles meanwhile).
class AutoLookup : public QObject {
    Q_OBJECT
public:
    // `musicBrainz`: the program's MusicBrainzFetcher; `network`: the plain fetch.
    AutoLookup(PlayerCore& core, DiscDatabase& database, ActiveSettings& settings, HttpFetcher& musicBrainz,
               HttpFetcher& network, QString coverFolder, QObject* parent = nullptr);
    ~AutoLookup() override;

    // A new lookup starts only while this allows (not while the editor is open).
    void setGate(std::function<bool()> mayStart) { mayStart_ = std::move(mayStart); }
    void cancel();
    bool running() const { return lookup_.running(); }
    const QString& discId() const { return discId_; }

    // The cover kept for the disc in the drive, as a file URL; empty when there is none.
    QString coverUrl() const;
    // Fetches the front cover of `releaseId` as the cover of `discId`.
    void fetchCover(const QString& discId, const QString& releaseId);

signals:
    // A lookup has run to its end; `stored`: its titles became the disc's section.
    void ended(bool stored);
    void coverChanged();

private:
    void discAdded(const NewDisc& disc);
    void lookupEnded(const DiscLookupOutcome& outcome);
    bool store(const DiscTitles& titles);

    PlayerCore& core_;
    DiscDatabase& database_;
    ActiveSettings& settings_;
    DiscLookup lookup_;
    CoverArtFetch coverFetch_;
    CoverCache covers_;
    std::function<bool()> mayStart_;
    QString discId_;  // the disc being looked up
    int tracks_ = 0;
    QString coverDiscId_;           // the disc whose cover is being fetched
    mutable QString shownCoverId_;  // the last disc coverUrl() answered for, and its answer
    mutable QString shownCover_;
};

}  // namespace velmora
