#pragma once

#include "platform/http_fetcher.h"

#include <QList>
#include <QNetworkAccessManager>
#include <QSslCertificate>

namespace velmora {

// The HTTP fetch on QNetworkAccessManager: redirects are followed unless they lead to a
// less safe scheme, the desktop's proxy settings are used (never for loopback hosts), a
// transfer that outlasts the time limit or outgrows the size limit is cut off.
class QtHttpFetcher final : public HttpFetcher {
public:
    static constexpr int kDefaultTimeoutMs = 20000;
    static constexpr qint64 kDefaultMaxBytes = qint64{1024} * 1024;

    QtHttpFetcher();
    ~QtHttpFetcher() override;

    std::unique_ptr<HttpRequest> get(const QUrl& url, const HttpHeaders& headers = {}) override;

    // The whole transfer, from the request to the last byte, redirects included. Both
    // limits hold for the requests started after they are set.
    void setTimeoutMs(int ms) { timeoutMs_ = ms; }
    void setMaxBytes(qint64 bytes) { maxBytes_ = bytes; }
    int timeoutMs() const { return timeoutMs_; }
    qint64 maxBytes() const { return maxBytes_; }

    static QByteArray userAgent();

    // Authorities trusted besides the system's, for the requests started after this. The
    // program trusts the system's alone; a test trusts the certificate its server made.
    void trustAuthorities(const QList<QSslCertificate>& certificates) { trusted_ = certificates; }

private:
    QNetworkAccessManager manager_;
    int timeoutMs_ = kDefaultTimeoutMs;
    qint64 maxBytes_ = kDefaultMaxBytes;
    QList<QSslCertificate> trusted_;
};

}  // namespace velmora
