#pragma once

#include "platform/http_fetcher.h"

#include <QElapsedTimer>
#include <QTimer>

#include <deque>

namespace velmora {

// The way to MusicBrainz for the whole program, the automatic lookup and the lookup
// window alike: it keeps the service's rules over another fetcher. Every request names
// the client ("Velmora/3.0.1 ( contact )"), no request starts less than a second after the
// one before, and a 503 (the service is busy) is answered by waiting and asking once more.
class MusicBrainzFetcher final : public HttpFetcher {
public:
    static constexpr int kIntervalMs = 1000;
    // The longest a Retry-After is waited for; the second 503 is the answer.
    static constexpr int kLongestRetryWaitMs = 10000;

    explicit MusicBrainzFetcher(HttpFetcher& network, int intervalMs = kIntervalMs);
    ~MusicBrainzFetcher() override;

    std::unique_ptr<HttpRequest> get(const QUrl& url, const HttpHeaders& headers = {}) override;

    static QByteArray userAgent();

private:
    class Paced;
    void enqueue(Paced* request, int notBeforeMs = 0);
    void startDue();

    HttpFetcher& network_;
    int intervalMs_;
    QElapsedTimer clock_;
    qint64 lastStartMs_ = -1;  // on clock_; -1: nothing asked yet
    qint64 holdUntilMs_ = 0;   // a busy service asked for a pause until then
    std::deque<QPointer<Paced>> queue_;
    QTimer timer_;
};

}  // namespace velmora
