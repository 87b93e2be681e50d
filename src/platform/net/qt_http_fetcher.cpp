#include "platform/net/qt_http_fetcher.h"

#include <QHostAddress>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSslConfiguration>
#include <QTimer>

namespace velmora {

namespace {

constexpr int kMaxRedirects = 10;

// The desktop's proxy settings for every host but this machine's own: a proxy cannot
// reach a server on the caller's loopback.
class DesktopProxyFactory final : public QNetworkProxyFactory {
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override {
        const QString host = query.peerHostName();
        if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback())
            return {QNetworkProxy(QNetworkProxy::NoProxy)};
        return systemProxyForQuery(query);
    }
};

HttpError transportError(QNetworkReply::NetworkError error) {
    switch (error) {
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::ProxyConnectionClosedError:
        return HttpError::ConnectionClosed;
    case QNetworkReply::TimeoutError:
    case QNetworkReply::ProxyTimeoutError:
        return HttpError::Timeout;
    case QNetworkReply::OperationCanceledError:
        return HttpError::Cancelled;
    case QNetworkReply::HostNotFoundError:
        return HttpError::HostNotFound;
    case QNetworkReply::ConnectionRefusedError:
        return HttpError::ConnectionRefused;
    default:
        return HttpError::ConnectionFailed;
    }
}

// One transfer: the reply's own finished ends it, also after the time or size limit has
// cut it off (abort() finishes a QNetworkReply at once).
class QtHttpRequest final : public HttpRequest {
public:
    QtHttpRequest(QNetworkReply* reply, int timeoutMs, qint64 maxBytes) : reply_(reply), maxBytes_(maxBytes) {
        limit_.setSingleShot(true);
        connect(&limit_, &QTimer::timeout, this, [this] { cut(HttpError::Timeout); });
        connect(reply, &QNetworkReply::downloadProgress, this, [this](qint64, qint64 total) {
            if (total > maxBytes_) cut(HttpError::TooLarge);
        });
        connect(reply, &QNetworkReply::readyRead, this, [this] {
            body_ += reply_->readAll();
            if (body_.size() > maxBytes_) cut(HttpError::TooLarge);
        });
        connect(reply, &QNetworkReply::finished, this, &QtHttpRequest::done);
        limit_.start(timeoutMs);
    }
    ~QtHttpRequest() override { abort(); }

    void abort() override {
        aborted_ = true;
        if (QNetworkReply* reply = release()) reply->abort();
    }

private:
    void cut(HttpError why) {
        if (cutOff_ == HttpError::None) cutOff_ = why;
        reply_->abort();
    }

    // The reply stays the manager's until the event loop deletes it: a QNetworkReply
    // must not go inside its own signals.
    QNetworkReply* release() {
        limit_.stop();
        QNetworkReply* reply = reply_.data();
        reply_.clear();
        if (reply) {
            reply->disconnect(this);
            reply->deleteLater();
        }
        return reply;
    }

    void done() {
        QNetworkReply* reply = release();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        HttpReply result;
        if (cutOff_ != HttpError::None) {
            result = {cutOff_, status, {}, reply->errorString()};
        } else {
            body_ += reply->readAll();
            if (body_.size() > maxBytes_) result = {HttpError::TooLarge, status, {}, QStringLiteral("reply too large")};
            else if (status >= 400) result = {HttpError::HttpStatus, status, body_, reply->errorString()};
            else if (reply->error() != QNetworkReply::NoError)
                result = {transportError(reply->error()), status, {}, reply->errorString()};
            else result = {HttpError::None, status, body_, {}};
            for (const auto& [name, value] : reply->rawHeaderPairs()) result.headers.emplace_back(name, value);
        }
        body_.clear();
        // Handed on from the event loop: the cut-offs above run inside the caller's
        // handlers of the limit timer and the reply, and a receiver may delete this.
        QMetaObject::invokeMethod(
            this,
            [this, result = std::move(result)] {
                if (!aborted_) emit finished(result);
            },
            Qt::QueuedConnection);
    }

    QPointer<QNetworkReply> reply_;
    QTimer limit_;
    QByteArray body_;
    qint64 maxBytes_;
    HttpError cutOff_ = HttpError::None;  // why the transfer was aborted
    bool aborted_ = false;
};

}  // namespace

QtHttpFetcher::QtHttpFetcher() {
    manager_.setProxyFactory(new DesktopProxyFactory);  // the manager owns it
    manager_.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

QtHttpFetcher::~QtHttpFetcher() = default;

QByteArray QtHttpFetcher::userAgent() { return QByteArrayLiteral("Velmora/" VELMORA_VERSION); }

std::unique_ptr<HttpRequest> QtHttpFetcher::get(const QUrl& url, const HttpHeaders& headers) {
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    for (const auto& [name, value] : headers) request.setRawHeader(name, value);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    if (!trusted_.isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.addCaCertificates(trusted_);
        request.setSslConfiguration(tls);
    }
    return std::make_unique<QtHttpRequest>(manager_.get(request), timeoutMs_, maxBytes_);
}

}  // namespace velmora
