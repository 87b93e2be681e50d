#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>
#include <vector>

namespace velmora {

// Why a GET brought no usable body.
enum class HttpError {
    None,
    Timeout,           // the transfer time limit ran out
    ConnectionFailed,  // host not found, refused, unreachable
    ConnectionClosed,  // the server broke the connection before the reply was whole
    TooLarge,          // the reply outgrew the size limit; the transfer was cut off
    HttpStatus,        // a whole reply arrived with a status of 400 or more (body kept)
    Cancelled,         // abort() was called while the request was outstanding
};

struct HttpReply {
    HttpError error = HttpError::None;
    int status = 0;   // the HTTP status of the final reply, 0 when none arrived
    QByteArray body;  // the whole body for None and HttpStatus, else empty
    QString detail;   // the transport's own words, for logs; never shown as is

    bool ok() const { return error == HttpError::None; }
};

// A blocking HTTP GET. While it waits, the caller's thread keeps handling its events, so
// a window stays live during a request and one of its handlers may call abort(). One
// request at a time.
class HttpFetcher {
public:
    virtual ~HttpFetcher() = default;
    virtual HttpReply get(const QUrl& url) = 0;
    // Ends the outstanding get() with Cancelled; nothing when none is outstanding.
    virtual void abort() = 0;
};

// Test double: records every URL and answers from `respond`, which may call abort() (or
// anything that does) to stand for an event handled during the wait.
class ScriptedHttpFetcher final : public HttpFetcher {
public:
    HttpReply get(const QUrl& url) override {
        requests.push_back(url);
        aborted_ = false;
        inGet_ = true;
        HttpReply reply = respond ? respond(url, static_cast<int>(requests.size()) - 1) : HttpReply{};
        inGet_ = false;
        if (aborted_) return {HttpError::Cancelled, 0, {}, QStringLiteral("aborted")};
        return reply;
    }
    void abort() override {
        if (inGet_) aborted_ = true;
    }

    std::function<HttpReply(const QUrl& url, int index)> respond;
    std::vector<QUrl> requests;

private:
    bool inGet_ = false;
    bool aborted_ = false;
};

}  // namespace velmora
