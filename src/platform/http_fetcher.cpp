#include "platform/http_fetcher.h"

namespace velmora {

QByteArray HttpReply::header(QByteArrayView name) const {
    for (const auto& [key, value] : headers)
        if (QByteArrayView(key).compare(name, Qt::CaseInsensitive) == 0) return value;
    return {};
}

namespace {

// Finishes with its reply from the event loop, unless aborted or deleted first.
class SettledRequest final : public HttpRequest {
public:
    explicit SettledRequest(HttpReply reply) {
        // Deleting the request drops the queued call.
        QMetaObject::invokeMethod(
            this,
            [this, reply = std::move(reply)] {
                if (!aborted_) emit finished(reply);
            },
            Qt::QueuedConnection);
    }
    void abort() override { aborted_ = true; }

private:
    bool aborted_ = false;
};

}  // namespace

std::unique_ptr<HttpRequest> settledHttpRequest(HttpReply reply) {
    return std::make_unique<SettledRequest>(std::move(reply));
}

class ScriptedHttpFetcher::Scripted final : public HttpRequest {
public:
    void abort() override { open = false; }
    void finish(const HttpReply& reply) {
        open = false;
        emit finished(reply);
    }
    bool open = true;
};

ScriptedHttpFetcher::ScriptedHttpFetcher() : answers_(std::make_unique<QObject>()) {}

ScriptedHttpFetcher::~ScriptedHttpFetcher() = default;

std::unique_ptr<HttpRequest> ScriptedHttpFetcher::get(const QUrl& url, const HttpHeaders& headers) {
    const int index = static_cast<int>(issued_.size());
    requests.push_back({url, headers});
    auto request = std::make_unique<Scripted>();
    issued_.emplace_back(request.get());
    QMetaObject::invokeMethod(
        answers_.get(),
        [this, url, index] {
            const std::optional<HttpReply> reply =
                respond ? respond(url, index) : std::optional<HttpReply>(HttpReply{});
            if (reply) answer(index, *reply);
        },
        Qt::QueuedConnection);
    return request;
}

bool ScriptedHttpFetcher::outstanding(int index) const {
    if (index < 0 || index >= static_cast<int>(issued_.size())) return false;
    const QPointer<Scripted>& request = issued_[static_cast<std::size_t>(index)];
    return request && request->open;
}

bool ScriptedHttpFetcher::answer(int index, const HttpReply& reply) {
    if (!outstanding(index)) return false;
    issued_[static_cast<std::size_t>(index)]->finish(reply);
    return true;
}

}  // namespace velmora
