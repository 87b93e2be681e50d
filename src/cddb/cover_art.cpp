#include "cddb/cover_art.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace velmora {

namespace {
constexpr const char* kExtensions[] = {"jpg", "png"};
}

QUrl coverArtUrl(const QString& server, const QString& releaseId) {
    QString base = server.trimmed();
    while (base.endsWith(u'/')) base.chop(1);
    return QUrl(base + QStringLiteral("/release/") + releaseId + QStringLiteral("/front-250"));
}

QString pictureExtension(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xD8\xFF")) return QStringLiteral("jpg");
    if (bytes.startsWith("\x89PNG\r\n\x1A\n")) return QStringLiteral("png");
    return {};
}

CoverCache::CoverCache(QString folder) : folder_(std::move(folder)) {}

QString CoverCache::defaultFolder() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return cache.isEmpty() ? QString() : cache + QStringLiteral("/velmora/covers");
}

QString CoverCache::find(const QString& discId) const {
    if (folder_.isEmpty() || discId.isEmpty()) return {};
    for (const char* extension : kExtensions) {
        QString path = QStringLiteral("%1/%2.%3").arg(folder_, discId, QLatin1String(extension));
        if (QFileInfo(path).isFile()) return path;
    }
    return {};
}

QString CoverCache::store(const QString& discId, const QByteArray& picture) const {
    const QString extension = pictureExtension(picture);
    if (folder_.isEmpty() || discId.isEmpty() || extension.isEmpty() || !QDir().mkpath(folder_)) return {};
    QString path = QStringLiteral("%1/%2.%3").arg(folder_, discId, extension);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(picture) != picture.size() || !file.commit()) return {};
    // A cover of the other kind kept before would be found first.
    for (const char* other : kExtensions)
        if (extension != QLatin1String(other))
            QFile::remove(QStringLiteral("%1/%2.%3").arg(folder_, discId, QLatin1String(other)));
    return path;
}

CoverArtFetch::CoverArtFetch(HttpFetcher& fetcher, QObject* parent) : QObject(parent), fetcher_(fetcher) {}

CoverArtFetch::~CoverArtFetch() = default;

void CoverArtFetch::start(const QString& server, const QString& releaseId) {
    request_ = fetcher_.get(coverArtUrl(server, releaseId));
    connect(request_.get(), &HttpRequest::finished, this, [this](const HttpReply& reply) {
        const std::unique_ptr<HttpRequest> done = std::move(request_);
        emit finished(reply.ok() && !pictureExtension(reply.body).isEmpty() ? reply.body : QByteArray());
    });
}

}  // namespace velmora
