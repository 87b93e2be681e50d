#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace velmora {

// Request headers beyond the fetcher's own, name and value as sent; and a reply's headers.
// A header the fetcher sets itself (User-Agent) is replaced by one of the same name here.
using HttpHeaders = std::vector<std::pair<QByteArray, QByteArray>>;

// Why a GET brought no usable body.
enum class HttpError {
    None,
    Timeout,            // the transfer time limit ran out
    HostNotFound,       // the server's name does not resolve
    ConnectionRefused,  // nothing listens at the server's port
    ConnectionFailed,   // unreachable, the secure connection failed, no network module
    ConnectionClosed,   // the server broke the connection before the reply was whole
    TooLarge,           // the reply outgrew the size limit; the transfer was cut off
    HttpStatus,         // a whole reply arrived with a status of 400 or more (body kept)
    Cancelled,          // the network layer gave the transfer up (abort() itself brings no reply)
};

struct HttpReply {
    HttpError error = HttpError::None;
    int status = 0;            // the HTTP status of the final reply, 0 when none arrived
    QByteArray body;           // the whole body for None and HttpStatus, else empty
    QString detail;            // the transport's own words, for logs; never shown as is
    HttpHeaders headers = {};  // of the final reply (None and HttpStatus)

    bool ok() const { return error == HttpError::None; }
    // The value of header `name` (any letter case), empty when the reply has none.
    QByteArray header(QByteArrayView name) const;
};

// One GET under way. `finished` follows exactly once, from the event loop (never inside
// HttpFetcher::get), unless the request is aborted or deleted first. A slot of `finished`
// may delete the request.
class HttpRequest : public QObject {
    Q_OBJECT
public:
    // Ends the transfer; `finished` does not follow. Nothing once finished.
    virtual void abort() = 0;

signals:
    void finished(const velmora::HttpReply& reply);
};

// Starts HTTP GETs. The caller owns each request; deleting it aborts it. Several may be
// outstanding. The fetcher outlives its requests.
class HttpFetcher {
public:
    virtual ~HttpFetcher() = default;
    virtual std::unique_ptr<HttpRequest> get(const QUrl& url, const HttpHeaders& headers = {}) = 0;
};

// A request whose reply is known before it starts (a fetcher that cannot even try); it
// finishes from the event loop all the same.
std::unique_ptr<HttpRequest> settledHttpRequest(HttpReply reply);

// Test double: records every request and answers it from `respond`, called from the event
// loop once get() has returned, so that `respond` stands for the server's time: it may do
// what an event handled during the wait does (a click that cancels). When the request is
// aborted or deleted meanwhile, the answer is dropped. `respond` returning nullopt leaves
// the request outstanding, a server that never answers; answer() can finish it later.
// Unset, every request gets an empty reply.
class ScriptedHttpFetcher final : public HttpFetcher {
public:
    struct Request {
        QUrl url;
        HttpHeaders headers;
    };

    ScriptedHttpFetcher();
    ~ScriptedHttpFetcher() override;

    std::unique_ptr<HttpRequest> get(const QUrl& url, const HttpHeaders& headers = {}) override;

    // Request `index` (counted from 0, as `respond` is given it and `requests` holds it
    // unless cleared) neither answered, aborted nor deleted.
    bool outstanding(int index) const;
    // Finishes request `index` with `reply` at once; false when it is not outstanding.
    bool answer(int index, const HttpReply& reply);

    std::function<std::optional<HttpReply>(const QUrl& url, int index)> respond;
    std::vector<Request> requests;

private:
    class Scripted;
    std::vector<QPointer<Scripted>> issued_;  // every request, by index
    std::unique_ptr<QObject> answers_;        // the queued answers go with the fetcher
};

}  // namespace velmora
