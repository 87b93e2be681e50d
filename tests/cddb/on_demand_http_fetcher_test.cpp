#include "await_reply.h"
#include "loopback_http_server.h"
#include "platform/on_demand_http_fetcher.h"

#include <gtest/gtest.h>

#include <QTest>

using namespace velmora;

TEST(OnDemandHttpFetcher, LoadsTheBuiltModuleOnTheFirstRequestAndItsRequestsAbort) {
    LoopbackHttpServer server;
    server.script = [](const LoopbackHttpServer::Request&, int i) {
        return i == 0 ? LoopbackHttpServer::reply("210 rock\r\n.\r\n")
                      : LoopbackHttpServer::of(LoopbackHttpServer::Answer::Kind::Silent);
    };
    OnDemandHttpFetcher fetcher(
        {QStringLiteral("/nonexistent/velmora-http.so"), QStringLiteral(VELMORA_RUNTIME_DIR "/velmora-http.so")});
    EXPECT_FALSE(fetcher.loaded());
    const std::unique_ptr<HttpRequest> first =
        fetcher.get(QUrl("http://" + server.hostPort() + "/cddb.cgi"), {{"Accept", "text/plain"}});
    EXPECT_TRUE(fetcher.loaded());
    const std::optional<HttpReply> reply = awaitReply(*first);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->error, HttpError::None) << reply->detail.toStdString();
    EXPECT_EQ(reply->body, "210 rock\r\n.\r\n");
    EXPECT_TRUE(server.requests.at(0).headers.contains("Accept: text/plain\r\n"));

    const std::unique_ptr<HttpRequest> second = fetcher.get(QUrl("http://" + server.hostPort() + "/again"));
    QSignalSpy answers(second.get(), &HttpRequest::finished);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests.size() == 2; }));
    second->abort();
    QTest::qWait(50);
    EXPECT_EQ(answers.count(), 0);
}

TEST(OnDemandHttpFetcher, AModuleThatCannotBeLoadedFailsEachRequestAndSaysWhy) {
    const struct {
        const char* name;
        QString candidate;
        const char* detail;
    } cases[] = {
        {"missing", QStringLiteral("/nonexistent/velmora-http.so"), "none of"},
        {"not a library", QStringLiteral(VELMORA_SOURCE_DIR "/tests/cddb/cddb_replies.h"), "cddb_replies.h"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OnDemandHttpFetcher fetcher({c.candidate});
        for (int attempt = 0; attempt < 2; ++attempt) {
            const std::unique_ptr<HttpRequest> request = fetcher.get(QUrl("http://127.0.0.1:9/cddb.cgi"));
            const std::optional<HttpReply> reply = awaitReply(*request);
            ASSERT_TRUE(reply);
            EXPECT_EQ(reply->error, HttpError::ConnectionFailed);
            EXPECT_TRUE(reply->detail.startsWith("the network module cannot be loaded: "))
                << reply->detail.toStdString();
            EXPECT_TRUE(reply->detail.contains(c.detail)) << reply->detail.toStdString();
        }
        EXPECT_FALSE(fetcher.loaded());
    }
}
