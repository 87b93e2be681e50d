#pragma once

#include "platform/http_fetcher.h"

#include <QStringList>

#include <memory>

namespace velmora {

// The module's one entry point: returns a new fetcher the caller owns.
inline constexpr char kHttpModuleEntry[] = "velmora_create_http_fetcher";
using HttpModuleEntry = HttpFetcher* (*)();

// The real HTTP fetch, loaded from its module on the first request. The network
// libraries are large and most sessions never look a disc up, so the player starts
// without them. A module that cannot be loaded fails each request with
// ConnectionFailed (from the event loop, as any request) and says why in the detail;
// nothing is retried within a session.
class OnDemandHttpFetcher final : public HttpFetcher {
public:
    // `candidates`: the module's possible paths, tried in order.
    explicit OnDemandHttpFetcher(QStringList candidates);
    ~OnDemandHttpFetcher() override;

    std::unique_ptr<HttpRequest> get(const QUrl& url, const HttpHeaders& headers = {}) override;

    bool loaded() const { return fetcher_ != nullptr; }

    // Beside the program (a build tree), then where an install puts it.
    static QStringList installedModulePaths();

private:
    bool load();

    QStringList candidates_;
    std::unique_ptr<HttpFetcher> fetcher_;
    QString loadError_;
};

}  // namespace velmora
