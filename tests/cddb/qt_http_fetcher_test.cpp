#include "loopback_http_server.h"
#include "platform/net/qt_http_fetcher.h"

#include <gtest/gtest.h>

#include <QTimer>

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
        const HttpReply reply = fetcher.get(QUrl("http://" + server.hostPort() + "/cddb.cgi?cmd=a+b"));
        EXPECT_EQ(reply.error, c.error) << reply.detail.toStdString();
        EXPECT_EQ(reply.status, c.status);
        EXPECT_EQ(reply.body, c.body);
        ASSERT_FALSE(server.requests.empty());
        EXPECT_EQ(server.requests.front().target, "/cddb.cgi?cmd=a+b");
        EXPECT_EQ(server.requests.back().target, c.lastTarget);
        EXPECT_TRUE(server.requests.front().headers.contains("User-Agent: Velmora/3.0.1\r\n"));
    }
}

TEST(QtHttpFetcher, AnEventHandledDuringTheWaitCanAbortIt) {
    LoopbackHttpServer server;
    server.script = [](const LoopbackHttpServer::Request&, int) {
        return LoopbackHttpServer::of(Answer::Kind::Silent);
    };
    QtHttpFetcher fetcher;  // the default 20 s limit: only the abort ends this as cancelled
    QTimer::singleShot(50, [&] { fetcher.abort(); });
    EXPECT_EQ(fetcher.get(QUrl("http://" + server.hostPort() + "/")).error, HttpError::Cancelled);
    fetcher.abort();  // idle: nothing to end, and the next request is unaffected
    server.script = [](const LoopbackHttpServer::Request&, int) { return LoopbackHttpServer::reply("again"); };
    EXPECT_EQ(fetcher.get(QUrl("http://" + server.hostPort() + "/")).body, "again");
}

TEST(QtHttpFetcher, OtherHostsGoThroughTheDesktopsProxyButLoopbackNever) {
    LoopbackHttpServer proxy;
    proxy.script = [](const LoopbackHttpServer::Request&, int) { return LoopbackHttpServer::reply("via proxy"); };
    const QByteArray saved = qgetenv("http_proxy");
    qputenv("http_proxy", "http://" + proxy.hostPort().toLatin1());
    QtHttpFetcher fetcher;
    const auto elsewhere = fetcher.get(QUrl("http://cddb.example.invalid/cddb.cgi?cmd=x")).body;
    const auto loopback = fetcher.get(QUrl("http://" + proxy.hostPort() + "/direct")).body;
    // Put the variable back before anything can end the test, so later tests go direct.
    if (saved.isNull()) qunsetenv("http_proxy");
    else qputenv("http_proxy", saved);
    EXPECT_EQ(elsewhere, "via proxy");
    EXPECT_EQ(loopback, "via proxy");
    ASSERT_EQ(proxy.requests.size(), 2u);
    EXPECT_EQ(proxy.requests[0].target, "http://cddb.example.invalid/cddb.cgi?cmd=x");
    EXPECT_EQ(proxy.requests[1].target, "/direct");
}
