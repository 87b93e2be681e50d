#pragma once

#include "cddb/musicbrainz_disc_id.h"
#include "cddb/musicbrainz_release.h"
#include "platform/http_fetcher.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>
#include <vector>

namespace velmora {

// What a MusicBrainz lookup asks with.
struct MusicBrainzLookup {
    QString server;  // scheme and host, e.g. "https://musicbrainz.org"
    MusicBrainzDisc disc;
};

inline constexpr char kMusicBrainzErrorTitle[] = "MusicBrainz Error";

struct MusicBrainzOutcome {
    enum class Kind { Found, NotFound, Failed };

    Kind kind = Kind::NotFound;
    std::vector<MusicBrainzRelease> releases;  // Found: at least one, in the service's order
    QString failureText;                       // Failed: the cause, in the service's words where it gave any
};

// The lookup by disc ID (`/ws/2/discid/{id}?inc=artist-credits+recordings&fmt=json`); when
// the service does not know the ID (404), the fuzzy lookup by table of contents on the same
// path (`toc=`, `cdstubs=no`). The fetcher is to be the program's MusicBrainzFetcher.
QUrl musicBrainzDiscUrl(const MusicBrainzLookup& lookup, bool byToc);

class MusicBrainzQuery : public QObject {
    Q_OBJECT
public:
    explicit MusicBrainzQuery(HttpFetcher& fetcher, QObject* parent = nullptr);
    ~MusicBrainzQuery() override;

    // `finished` follows from the event loop. A lookup under way is cancelled first.
    void start(const MusicBrainzLookup& lookup);
    // Aborts the outstanding request; nothing is emitted.
    void cancel();
    bool running() const { return request_ != nullptr; }

signals:
    // A slot may delete the query.
    void finished(const velmora::MusicBrainzOutcome& outcome);

private:
    void ask(bool byToc);
    void replied(const HttpReply& reply);

    HttpFetcher& fetcher_;
    MusicBrainzLookup lookup_;
    bool byToc_ = false;
    std::unique_ptr<HttpRequest> request_;
};

}  // namespace velmora
