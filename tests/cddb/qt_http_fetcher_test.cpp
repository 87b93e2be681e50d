#include "await_reply.h"
#include "loopback_http_server.h"
#include "platform/net/qt_http_fetcher.h"

#include <gtest/gtest.h>

#include <QTest>

using namespace velmora;
using Answer = LoopbackHttpServer::Answer;

TEST(QtHttpFetcher, AnswersEachWayAServerCanReply) {
    constexpr qint64 kMiB = 1024 * 1024;
    struct FetchCase {
        const char* name;
        std::vector<Answer> answers;  // by request index
        HttpError error;
        int status;
        QByteArray body;
        QByteArray lastTarget = "/cddb.cgi?cmd=a+b";
    };
    const FetchCase cases[] = {
        {"error page", {LoopbackHttpServer::reply("oops", 500)}, HttpError::HttpStatus, 500, "oops"},
        {"redirect",
         {LoopbackHttpServer::redirect("/moved"), LoopbackHttpServer::reply("there")},
         HttpError::None,
         200,
         "there",
         "/moved"},
        {"closes", {LoopbackHttpServer::of(Answer::Kind::Close)}, HttpError::ConnectionClosed, 0, {}},
        {"never answers", {LoopbackHttpServer::of(Answer::Kind::Silent)}, HttpError::Timeout, 0, {}},
        {"exactly the limit",
         {LoopbackHttpServer::reply(QByteArray(kMiB, 'a'))},
         HttpError::None,
         200,
         QByteArray(kMiB, 'a')},
        {"declares one byte more",
         {LoopbackHttpServer::reply(QByteArray(kMiB + 1, 'a'))},
         HttpError::TooLarge,
         200,
         {}},
        {"floods 5 MB", {LoopbackHttpServer::of(Answer::Kind::Flood, 5 * kMiB)}, HttpError::TooLarge, 200, {}},
    };
    for (const FetchCase& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackHttpServer server;
        server.script = [&](const LoopbackHttpServer::Request&, int i) {
            return c.answers.at(std::min<std::size_t>(static_cast<std::size_t>(i), c.answers.size() - 1));
        };
        QtHttpFetcher fetcher;
        fetcher.setTimeoutMs(300);
        const std::unique_ptr<HttpRequest> request =
            fetcher.get(QUrl("http://" + server.hostPort() + "/cddb.cgi?cmd=a+b"));
        const std::optional<HttpReply> reply = awaitReply(*request);
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->error, c.error) << reply->detail.toStdString();
        EXPECT_EQ(reply->status, c.status);
        EXPECT_EQ(reply->body, c.body);
        ASSERT_FALSE(server.requests.empty());
        EXPECT_EQ(server.requests.front().target, "/cddb.cgi?cmd=a+b");
        EXPECT_EQ(server.requests.back().target, c.lastTarget);
        EXPECT_TRUE(server.requests.front().headers.contains("User-Agent: Velmora/3.0.1\r\n"));
    }
}

// A server that never answers one request holds up no other; the caller's headers go out
// in place of the fetcher's own, and a request aborted or deleted never answers.
TEST(QtHttpFetcher, RequestsRunSideBySideAndAnAbortedOneNeverAnswers) {
    LoopbackHttpServer server;
    server.script = [](const LoopbackHttpServer::Request& request, int) {
        return request.target == "/slow" ? LoopbackHttpServer::of(Answer::Kind::Silent)
                                         : LoopbackHttpServer::reply(request.target);
    };
    const auto url = [&](const char* path) { return QUrl("http://" + server.hostPort() + path); };
    QtHttpFetcher fetcher;  // the default 20 s limit: nothing here ends by time
    std::unique_ptr<HttpRequest> aborted = fetcher.get(url("/slow"));
    std::unique_ptr<HttpRequest> deleted = fetcher.get(url("/slow"));
    QSignalSpy abortedAnswers(aborted.get(), &HttpRequest::finished);
    const std::unique_ptr<HttpRequest> json =
        fetcher.get(url("/json"), {{"User-Agent", "Tester/2.0"}, {"Accept", "application/json"}});
    const std::optional<HttpReply> reply = awaitReply(*json);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->body, "/json");
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests.size() == 3; }));
    for (const auto& seen : server.requests) {
        if (seen.target != "/json") continue;
        EXPECT_TRUE(seen.headers.contains("User-Agent: Tester/2.0\r\n")) << seen.headers.toStdString();
        EXPECT_TRUE(seen.headers.contains("Accept: application/json\r\n")) << seen.headers.toStdString();
        EXPECT_FALSE(seen.headers.contains("Velmora/")) << seen.headers.toStdString();
    }

    aborted->abort();
    deleted.reset();
    const std::unique_ptr<HttpRequest> after = fetcher.get(url("/after"));
    ASSERT_TRUE(awaitReply(*after));
    QTest::qWait(50);
    EXPECT_EQ(abortedAnswers.count(), 0);
}

TEST(QtHttpFetcher, OtherHostsGoThroughTheDesktopsProxyButLoopbackNever) {
    LoopbackHttpServer proxy;
    proxy.script = [](const LoopbackHttpServer::Request&, int) { return LoopbackHttpServer::reply("via proxy"); };
    const QByteArray saved = qgetenv("http_proxy");
    qputenv("http_proxy", "http://" + proxy.hostPort().toLatin1());
    QtHttpFetcher fetcher;
    const std::unique_ptr<HttpRequest> elsewhere = fetcher.get(QUrl("http://cddb.example.invalid/cddb.cgi?cmd=x"));
    const std::optional<HttpReply> elsewhereReply = awaitReply(*elsewhere);
    const std::unique_ptr<HttpRequest> loopback = fetcher.get(QUrl("http://" + proxy.hostPort() + "/direct"));
    const std::optional<HttpReply> loopbackReply = awaitReply(*loopback);
    // Put the variable back before anything can end the test, so later tests go direct.
    if (saved.isNull()) qunsetenv("http_proxy");
    else qputenv("http_proxy", saved);
    ASSERT_TRUE(elsewhereReply && loopbackReply);
    EXPECT_EQ(elsewhereReply->body, "via proxy");
    EXPECT_EQ(loopbackReply->body, "via proxy");
    ASSERT_EQ(proxy.requests.size(), 2u);
    EXPECT_EQ(proxy.requests[0].target, "http://cddb.example.invalid/cddb.cgi?cmd=x");
    EXPECT_EQ(proxy.requests[1].target, "/direct");
}
