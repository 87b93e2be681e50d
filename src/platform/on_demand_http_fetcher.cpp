#include "platform/on_demand_http_fetcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>

namespace velmora {

namespace {
constexpr char kModuleFile[] = "velmora-http.so";
}

OnDemandHttpFetcher::OnDemandHttpFetcher(QStringList candidates) : candidates_(std::move(candidates)) {}

// The module stays mapped for the life of the process, so the fetcher's code outlives it.
OnDemandHttpFetcher::~OnDemandHttpFetcher() = default;

QStringList OnDemandHttpFetcher::installedModulePaths() {
    const QDir programDir(QCoreApplication::applicationDirPath());
    return {programDir.filePath(QLatin1String(kModuleFile)),
            QDir::cleanPath(programDir.filePath(QStringLiteral(VELMORA_MODULE_DIR "/") + QLatin1String(kModuleFile)))};
}

bool OnDemandHttpFetcher::load() {
    if (fetcher_) return true;
    if (!loadError_.isEmpty()) return false;  // tried once; the install will not change
    QStringList reasons;
    for (const QString& path : candidates_) {
        if (!QFile::exists(path)) continue;
        QLibrary library(path);
        auto entry = reinterpret_cast<HttpModuleEntry>(library.resolve(kHttpModuleEntry));
        if (!entry) {
            reasons << library.errorString();
            continue;
        }
        fetcher_.reset(entry());
        if (fetcher_) return true;
        reasons << QStringLiteral("%1 made no fetcher").arg(path);
    }
    if (reasons.isEmpty()) reasons << QStringLiteral("none of %1 exists").arg(candidates_.join(QLatin1String(", ")));
    loadError_ = QStringLiteral("the network module cannot be loaded: ") + reasons.join(QLatin1String("; "));
    // A broken install: the user sees only that the server could not be reached.
    qWarning("velmora: %s", qPrintable(loadError_));
    return false;
}

std::unique_ptr<HttpRequest> OnDemandHttpFetcher::get(const QUrl& url, const HttpHeaders& headers) {
    if (!load()) return settledHttpRequest({HttpError::ConnectionFailed, 0, {}, loadError_});
    return fetcher_->get(url, headers);
}

}  // namespace velmora
