#include "platform/net/qt_http_fetcher.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QScopedPointer>
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
    default:
        return HttpError::ConnectionFailed;
    }
}

}  // namespace

QtHttpFetcher::QtHttpFetcher() {
    manager_.setProxyFactory(new DesktopProxyFactory);  // the manager owns it
    manager_.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

QtHttpFetcher::~QtHttpFetcher() = default;

QByteArray QtHttpFetcher::userAgent() { return QByteArrayLiteral("Velmora/" VELMORA_VERSION); }

HttpReply QtHttpFetcher::get(const QUrl& url) {
    if (reply_) return {HttpError::ConnectionFailed, 0, {}, QStringLiteral("another request is outstanding")};

    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);

    cutOff_ = HttpError::None;
    QScopedPointer<QNetworkReply> reply(manager_.get(request));
    reply_ = reply.data();
    QByteArray body;
    const auto cut = [this, &reply](HttpError why) {
        if (cutOff_ == HttpError::None) cutOff_ = why;
        reply->abort();
    };

    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, [&] { cut(HttpError::Timeout); });
    QObject::connect(reply.data(), &QNetworkReply::downloadProgress, &loop, [&](qint64, qint64 total) {
        if (total > maxBytes_) cut(HttpError::TooLarge);
    });
    QObject::connect(reply.data(), &QNetworkReply::readyRead, &loop, [&] {
        body += reply->readAll();
        if (body.size() > maxBytes_) cut(HttpError::TooLarge);
    });
    QObject::connect(reply.data(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    limit.start(timeoutMs_);
    if (!reply->isFinished()) loop.exec();
    // The loop also ends when the application quits; the transfer goes with it.
    if (!reply->isFinished()) cut(HttpError::Cancelled);
    limit.stop();
    reply_.clear();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (cutOff_ != HttpError::None) return {cutOff_, status, {}, reply->errorString()};
    body += reply->readAll();
    if (body.size() > maxBytes_) return {HttpError::TooLarge, status, {}, QStringLiteral("reply too large")};
    if (status >= 400) return {HttpError::HttpStatus, status, body, reply->errorString()};
    if (reply->error() != QNetworkReply::NoError)
        return {transportError(reply->error()), status, {}, reply->errorString()};
    return {HttpError::None, status, body, {}};
}

void QtHttpFetcher::abort() {
    if (!reply_) return;
    if (cutOff_ == HttpError::None) cutOff_ = HttpError::Cancelled;
    reply_->abort();
}

}  // namespace velmora
