#include "cddb/cddb_query.h"
#include "cddb_replies.h"
#include "loopback_http_server.h"
#include "platform/net/qt_http_fetcher.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

using namespace velmora;
using Kind = CddbOutcome::Kind;

namespace {

// The sections in the order they are asked, written out independently of the code.
const std::pair<const char*, const char*> kSections[] = {
    {"rock", "ROCK"}, {"country", "COUNTRY"}, {"blues", "BLUES"},   {"classical", "CLASSICAL"},
    {"jazz", "JAZZ"}, {"newage", "NEW AGE"},  {"reggae", "REGGAE"}, {"soundtrack", "SOUNDTRACK"},
    {"folk", "FOLK"}, {"misc", "MISC"},
};

HttpReply ok(const QByteArray& body) { return {HttpError::None, 200, body, {}}; }
const HttpReply kNotHere = ok("401 rock 0a0b0c0d No such CD entry in database.\r\n");

struct Lookup {
    ScriptedHttpFetcher fetcher;
    CddbQuery query{fetcher};
    QStringList statuses;
    QSignalSpy finished{&query, &CddbQuery::finished};

    Lookup() {
        QObject::connect(&query, &CddbQuery::status, [this](const QString& s) { statuses << s; });
    }
    // The outcome, once the lookup has ended.
    CddbOutcome run() {
        query.start({"cddb.example/~cddb/cddb.cgi", "jo smith&co", "0a0b0c0d"});
        EXPECT_EQ(finished.count(), 0) << "ended inside start()";
        if (!finished.wait(5000)) return {CddbOutcome::Kind::Failed, {}, -1, {}, QStringLiteral("never ended")};
        return finished.at(0).at(0).value<CddbOutcome>();
    }
    // The sections asked, one request each, in order.
    void expectAsked(int sections) {
        ASSERT_EQ(fetcher.requests.size(), static_cast<std::size_t>(sections));
        ASSERT_EQ(statuses.size(), sections);
        for (int i = 0; i < sections; ++i) {
            EXPECT_EQ(fetcher.requests[static_cast<std::size_t>(i)].url.toEncoded(),
                      QByteArray("http://cddb.example/~cddb/cddb.cgi?cmd=cddb+read+") + kSections[i].first +
                          "+0a0b0c0d&hello=jo+smith%26co+velmora.invalid+Velmora+3.0.1&proto=6");
            EXPECT_EQ(statuses[i], QStringLiteral("Searching Database Section: ") + kSections[i].second);
        }
    }
};

}  // namespace

TEST(CddbQuery, AsksTheSectionsInOrderUntilOneHasTheRecordOrTheServerFails) {
    const struct {
        const char* name;
        int at;  // the section given `answer`; the others have no record
        HttpReply answer;
        Kind kind;
        QString failure;
        int asked;
    } cases[] = {
        {"found in the fifth section", 4, ok(cddbRecordReply(12)), Kind::Found, {}, 5},
        {"in no section", -1, {}, Kind::NotFound, {}, 10},
        {"connection closed",
         1,
         {HttpError::ConnectionClosed, 0, {}, {}},
         Kind::Failed,
         "Connection Closed By The CDDB Server\r\n\r\nPossibly try using a different CDDB Server.\r\n"
         "You can change the server from the settings menu.",
         2},
        {"given up by the network layer",
         1,
         {HttpError::Cancelled, 0, {}, {}},
         Kind::Failed,
         cddbFailureText(kCddbTimedOut),
         2},
        {"reply too large",
         1,
         {HttpError::TooLarge, 200, {}, {}},
         Kind::Failed,
         cddbFailureText("Server Reply Too Large"),
         2},
        {"a record without a disc title", 1, ok("210 rock x\r\nTTITLE0=a\r\n.\r\n"), Kind::Failed,
         cddbFailureText("Unreadable Server Reply"), 2},
        {"host not found",
         0,
         {HttpError::HostNotFound, 0, {}, {}},
         Kind::Failed,
         cddbFailureText("CDDB Server Not Found"),
         1},
        {"connection refused",
         0,
         {HttpError::ConnectionRefused, 0, {}, {}},
         Kind::Failed,
         cddbFailureText("Connection Refused By The CDDB Server"),
         1},
        {"refused: no e-mail address", 0, ok("500 Unknown developer email\r\n"), Kind::Failed,
         "The CDDB server refused the request:\r\n\r\n\"500 Unknown developer email\"\r\n\r\nThe server wants to "
         "know who asks: put your e-mail address as the\r\nUser Name in the settings (Person Info), then look the "
         "disc up again.",
         1},
        {"refused: no handshake, on an error page",
         0,
         {HttpError::HttpStatus, 403, "409 No handshake\r\n", {}},
         Kind::Failed,
         cddbRefusalText("409 No handshake"),
         1},
        {"refused: corrupt entry", 3, ok("403 Database entry is corrupt.\r\n"), Kind::Failed,
         "The CDDB server refused the request:\r\n\r\n\"403 Database entry is corrupt.\"\r\n\r\nPossibly try using a "
         "different CDDB Server.\r\nYou can change the server from the settings menu.",
         4},
        {"refused: server error", 0, ok("530 Server error, server timeout.\r\n"), Kind::Failed,
         cddbRefusalText("530 Server error, server timeout."), 1},
        {"an error page: not in that section",
         1,
         {HttpError::HttpStatus, 500, "210 but an error page", {}},
         Kind::NotFound,
         {},
         10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Lookup l;
        l.fetcher.respond = [&](const QUrl&, int i) { return i == c.at ? c.answer : kNotHere; };
        const CddbOutcome outcome = l.run();
        l.expectAsked(c.asked);
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_EQ(outcome.failureText, c.failure);
        if (c.kind != Kind::Found) {
            EXPECT_EQ(outcome.reply, c.kind == Kind::NotFound ? "Record Not Found" : QString());
            continue;
        }
        EXPECT_EQ(outcome.category, 4);
        EXPECT_EQ(outcome.record.tracks.size(), 12u);
        EXPECT_EQ(outcome.reply, QString::fromLatin1(cddbRecordReply(12)));
    }
}

// A server that never answers the third request: cancel aborts it, and nothing follows.
TEST(CddbQuery, CancelDuringTheThirdRequestSendsNoFourthAndEndsSilently) {
    LoopbackHttpServer server;
    server.script = [](const LoopbackHttpServer::Request&, int i) {
        return i < 2 ? LoopbackHttpServer::reply("401 rock 0a0b0c0d No such CD entry in database.\r\n")
                     : LoopbackHttpServer::of(LoopbackHttpServer::Answer::Kind::Silent);
    };
    QtHttpFetcher fetcher;
    CddbQuery query(fetcher);
    QStringList statuses;
    QObject::connect(&query, &CddbQuery::status, [&](const QString& s) { statuses << s; });
    QSignalSpy finished(&query, &CddbQuery::finished);
    query.start({server.hostPort() + "/~cddb/cddb.cgi", "jo", "0a0b0c0d"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests.size() == 3; }));
    EXPECT_TRUE(server.requests[2].target.startsWith("/~cddb/cddb.cgi?cmd=cddb+read+blues+"));
    query.cancel();
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.disconnects > 0; })) << "the request is aborted";
    QTest::qWait(100);
    EXPECT_EQ(server.requests.size(), 3u);
    EXPECT_EQ(statuses.size(), 3);
    EXPECT_EQ(finished.count(), 0);
}
