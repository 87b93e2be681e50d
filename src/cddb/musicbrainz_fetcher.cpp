#include "cddb/musicbrainz_fetcher.h"

#include <algorithm>

namespace velmora {

// A request waiting its turn, then under way; a 503 puts it back in the queue once.
class MusicBrainzFetcher::Paced final : public HttpRequest {
public:
    Paced(MusicBrainzFetcher& owner, QUrl url, HttpHeaders headers)
        : owner_(owner), url_(std::move(url)), headers_(std::move(headers)) {}

    void abort() override {
        aborted_ = true;
        running_.reset();
    }

    bool aborted() const { return aborted_; }

    void start() {
        running_ = owner_.network_.get(url_, headers_);
        connect(running_.get(), &HttpRequest::finished, this, &Paced::replied);
    }

private:
    void replied(const HttpReply& reply) {
        const std::unique_ptr<HttpRequest> done = std::move(running_);
        if (reply.status == 503 && !retried_) {
            retried_ = true;
            bool number = false;
            const int seconds = reply.header("Retry-After").trimmed().toInt(&number);
            owner_.enqueue(this, number && seconds > 0 ? std::min(seconds * 1000, kLongestRetryWaitMs) : 0);
            return;
        }
        if (!aborted_) emit finished(reply);
    }

    MusicBrainzFetcher& owner_;
    QUrl url_;
    HttpHeaders headers_;
    std::unique_ptr<HttpRequest> running_;
    bool retried_ = false;
    bool aborted_ = false;
};

MusicBrainzFetcher::MusicBrainzFetcher(HttpFetcher& network, int intervalMs)
    : network_(network), intervalMs_(intervalMs) {
    clock_.start();
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] { startDue(); });
}

MusicBrainzFetcher::~MusicBrainzFetcher() = default;

QByteArray MusicBrainzFetcher::userAgent() {
    return QByteArrayLiteral("Velmora/" VELMORA_VERSION " ( " VELMORA_CONTACT " )");
}

std::unique_ptr<HttpRequest> MusicBrainzFetcher::get(const QUrl& url, const HttpHeaders& headers) {
    HttpHeaders sent = headers;
    sent.emplace_back("User-Agent", userAgent());
    sent.emplace_back("Accept", "application/json");
    auto request = std::make_unique<Paced>(*this, url, std::move(sent));
    enqueue(request.get());
    return request;
}

void MusicBrainzFetcher::enqueue(Paced* request, int notBeforeMs) {
    if (notBeforeMs > 0) holdUntilMs_ = std::max(holdUntilMs_, clock_.elapsed() + notBeforeMs);
    queue_.emplace_back(request);
    // From the event loop: a request never starts inside get().
    if (!timer_.isActive()) timer_.start(0);
}

void MusicBrainzFetcher::startDue() {
    while (!queue_.empty() && (!queue_.front() || queue_.front()->aborted())) queue_.pop_front();
    if (queue_.empty()) return;
    const qint64 now = clock_.elapsed();
    const qint64 due = std::max(lastStartMs_ < 0 ? now : lastStartMs_ + intervalMs_, holdUntilMs_);
    if (due > now) {
        timer_.start(static_cast<int>(due - now));
        return;
    }
    const QPointer<Paced> next = queue_.front();
    queue_.pop_front();
    lastStartMs_ = now;
    next->start();
    if (!queue_.empty()) timer_.start(intervalMs_);
}

}  // namespace velmora
