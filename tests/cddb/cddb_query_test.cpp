#include "cddb/cddb_query.h"
#include "cddb_replies.h"
#include "loopback_http_server.h"
#include "platform/net/qt_http_fetcher.h"

#include <gtest/gtest.h>

using namespace velmora;
using Answer = LoopbackHttpServer::Answer;
using Kind = CddbOutcome::Kind;

namespace {

// The sections in the order they are asked, written out independently of the code.
const std::pair<const char*, const char*> kSections[] = {
    {"rock", "ROCK"},     {"country", "COUNTRY"}, {"blues", "BLUES"},           {"classical", "CLASSICAL"},
    {"jazz", "JAZZ"},     {"newage", "NEW AGE"},  {"reggae", "REGGAE"},         {"soundtrack", "SOUNDTRACK"},
    {"folk", "FOLK"},     {"misc", "MISC"},
};

QByteArray target(int section) {
    return QByteArray("/~cddb/cddb.cgi?cmd=cddb+read+") + kSections[section].first +
           "+0a0b0c0d&hello=jo+smith%26co+velmora.invalid+Velmora+3.0.1&proto=6";
}

const Answer kNotHere = LoopbackHttpServer::reply("401 rock 0a0b0c0d No such CD entry in database.\r\n");

struct Lookup {
    LoopbackHttpServer server;
    QtHttpFetcher fetcher;
    CddbQuery query{fetcher};
    QStringList statuses;

    Lookup() {
        fetcher.setTimeoutMs(300);
        query.onStatus = [this](const QString& s) { statuses << s; };
    }
    CddbOutcome run() { return query.run({server.hostPort() + "/~cddb/cddb.cgi", "jo smith&co", "0a0b0c0d"}); }
    // The sections asked, one request each, in order.
    void expectAsked(int sections) {
        ASSERT_EQ(server.requests.size(), static_cast<std::size_t>(sections));
        ASSERT_EQ(statuses.size(), sections);
        for (int i = 0; i < sections; ++i) {
            EXPECT_EQ(server.requests[static_cast<std::size_t>(i)].line, "GET " + target(i) + " HTTP/1.1");
            EXPECT_EQ(statuses[i], QStringLiteral("Searching Database Section: ") + kSections[i].second);
        }
    }
};

}  // namespace

TEST(CddbQuery, AsksTheSectionsInOrderUntilOneHasTheRecord) {
    for (const int foundAt : {0, 4, -1}) {
        SCOPED_TRACE(foundAt);
        Lookup l;
        l.server.script = [&](const LoopbackHttpServer::Request&, int i) {
            return i == foundAt ? LoopbackHttpServer::reply(cddbRecordReply(12)) : kNotHere;
        };
        const CddbOutcome outcome = l.run();
        l.expectAsked(foundAt < 0 ? 10 : foundAt + 1);
        if (foundAt < 0) {
            EXPECT_EQ(outcome.kind, Kind::NotFound);
            EXPECT_EQ(outcome.reply, "Record Not Found");
            continue;
        }
        ASSERT_EQ(outcome.kind, Kind::Found);
        EXPECT_EQ(outcome.category, foundAt);
        EXPECT_EQ(outcome.record.artist, "Band");
        EXPECT_EQ(outcome.record.tracks.size(), 12u);
        EXPECT_EQ(outcome.reply, QString::fromLatin1(cddbRecordReply(12)));
    }
}

TEST(CddbQuery, CancelDuringTheThirdRequestSendsNoFourth) {
    Lookup l;
    l.server.script = [](const LoopbackHttpServer::Request&, int i) {
        return i == 2 ? LoopbackHttpServer::of(Answer::Kind::Silent) : kNotHere;
    };
    l.server.onRequest = [&](int i) {
        if (i == 2) l.query.cancel();
    };
    EXPECT_EQ(l.run().kind, Kind::Cancelled);
    l.expectAsked(3);
}

TEST(CddbQuery, AFailingServerEndsTheLookupWithItsReason) {
    const QString timedOut = "Request Timed Out\r\n\r\nPossibly try using a different CDDB Server.\r\n"
                             "You can change the server from the settings menu.";
    const struct {
        const char* name;
        Answer second;  // the answer to the second section; the first has no record
        Kind kind;
        QString text;
        int asked;
    } cases[] = {
        {"closes the connection", LoopbackHttpServer::of(Answer::Kind::Close), Kind::Failed, timedOut, 2},
        {"never answers", LoopbackHttpServer::of(Answer::Kind::Silent), Kind::Failed, timedOut, 2},
        {"sends 5 MB", LoopbackHttpServer::of(Answer::Kind::Flood, 5 << 20), Kind::Failed,
         cddbFailureText("Server Reply Too Large"), 2},
        {"a record without a disc title", LoopbackHttpServer::reply("210 rock x\r\nTTITLE0=a\r\n.\r\n"), Kind::Failed,
         cddbFailureText("Unreadable Server Reply"), 2},
        {"answers 500: not in that section", LoopbackHttpServer::reply("210 but an error page", 500), Kind::NotFound, {}, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Lookup l;
        l.server.script = [&](const LoopbackHttpServer::Request& r, int) { return r.target == target(1) ? c.second : kNotHere; };
        const CddbOutcome outcome = l.run();
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_EQ(outcome.failureText, c.kind == Kind::Failed ? c.text : QString());
        // The sections asked, in order; a request the transport sent again stays one section.
        QList<QByteArray> asked;
        for (const LoopbackHttpServer::Request& r : l.server.requests)
            if (asked.isEmpty() || asked.back() != r.target) asked << r.target;
        ASSERT_EQ(asked.size(), c.asked);
        for (int i = 0; i < c.asked; ++i) EXPECT_EQ(asked[i], target(i));
    }
}
