#pragma once

#include "cddb/cddb_query.h"
#include "cddb/musicbrainz_query.h"
#include "discdb/disc_titles.h"

#include <QObject>
#include <QStringList>

namespace velmora {

// Where a lookup without a window asks: MusicBrainz, then the CDDB server (with its
// category search), each only when asked for and able to (a disc ID to ask with).
struct DiscLookupRequest {
    MusicBrainzLookup musicBrainz;
    CddbLookup cddb;
    bool askMusicBrainz = true;
    bool askCddb = true;
};

struct DiscLookupOutcome {
    enum class Kind { Found, NotFound, Failed };
    enum class Source { None, MusicBrainz, Cddb };

    Kind kind = Kind::NotFound;  // Failed: nothing found and some source failed
    Source source = Source::None;
    DiscTitles titles;     // Found, as the editor would merge them
    QString releaseId;     // Found on MusicBrainz: the first release's MBID
    QStringList failures;  // each source that failed: what went wrong, in its words
};

// The first record found, from the sources in order. Quiet: failures are only reported.
class DiscLookup : public QObject {
    Q_OBJECT
public:
    // `musicBrainz`: the program's MusicBrainzFetcher; `network`: the plain fetch.
    DiscLookup(HttpFetcher& musicBrainz, HttpFetcher& network, QObject* parent = nullptr);
    ~DiscLookup() override;

    // `finished` follows from the event loop. A lookup under way is cancelled first.
    void start(const DiscLookupRequest& request);
    // Ends the lookup; nothing is emitted.
    void cancel();
    bool running() const { return running_; }

signals:
    // A slot may delete the lookup.
    void finished(const velmora::DiscLookupOutcome& outcome);

private:
    void askCddb();
    void end();

    MusicBrainzQuery musicBrainz_;
    CddbQuery cddb_;
    DiscLookupRequest request_;
    DiscLookupOutcome outcome_;
    bool running_ = false;
};

}  // namespace velmora
