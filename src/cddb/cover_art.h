#pragma once

#include "platform/http_fetcher.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

namespace velmora {

// The front cover of a release from the Cover Art Archive: `{server}/release/{mbid}/front-250`,
// which redirects to the picture.
QUrl coverArtUrl(const QString& server, const QString& releaseId);

// The file name extension of a picture's bytes ("jpg", "png"), empty when they are none.
QString pictureExtension(const QByteArray& bytes);

// Covers kept for the discs the player knows, one file per disc ID in `folder`.
class CoverCache {
public:
    explicit CoverCache(QString folder);

    // The user's cache folder for covers ("velmora/covers" in the generic cache location).
    static QString defaultFolder();

    // The cover kept for `discId`, empty when there is none.
    QString find(const QString& discId) const;
    // Keeps `picture` as the cover of `discId`, replacing one kept before; the file, or
    // empty when it could not be written or the bytes are no picture.
    QString store(const QString& discId, const QByteArray& picture) const;

private:
    QString folder_;
};

// One fetch of a front cover. No cover (the archive has none, it cannot be reached, the
// bytes are no picture) is no error: `finished` brings empty bytes.
class CoverArtFetch : public QObject {
    Q_OBJECT
public:
    explicit CoverArtFetch(HttpFetcher& fetcher, QObject* parent = nullptr);
    ~CoverArtFetch() override;

    // `finished` follows from the event loop; a fetch under way is given up.
    void start(const QString& server, const QString& releaseId);
    void cancel() { request_.reset(); }

signals:
    void finished(const QByteArray& picture);

private:
    HttpFetcher& fetcher_;
    std::unique_ptr<HttpRequest> request_;
};

}  // namespace velmora
