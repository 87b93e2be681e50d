#include "await_reply.h"
#include "cddb/cover_art.h"
#include "cddb/disc_lookup.h"
#include "cddb/musicbrainz_fetcher.h"
#include "cddb/musicbrainz_query.h"
#include "cddb_replies.h"
#include "loopback_http_server.h"
#include "musicbrainz_answers.h"
#include "platform/net/qt_http_fetcher.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using Answer = LoopbackHttpServer::Answer;

namespace {

// A disc of ten tracks whose ID and table the service's own documentation gives.
const std::vector<int> kStarts{150, 18901, 39738, 59557, 79152, 100126, 124833, 147278, 166336, 182560};
constexpr int kLeadout = 206535;
const QString kId = QStringLiteral("Wn8eRBtfLDfM0qjYPdxrz.Zjs_U-");

Answer json(const QByteArray& body, int status = 200) {
    Answer a = LoopbackHttpServer::reply(body, status);
    a.contentType = "application/json; charset=utf-8";
    return a;
}

}  // namespace

TEST(MusicBrainzDisc, IdAndTableOfContentsAsTheServiceComputesThem) {
    const MusicBrainzDisc plain = musicBrainzDisc(kStarts, kLeadout, false);
    EXPECT_EQ(plain.id, kId);
    EXPECT_EQ(plain.toc, "1+10+206535+150+18901+39738+59557+79152+100126+124833+147278+166336+182560");
    EXPECT_EQ(plain.tracks, 10);

    // An enhanced CD: an eleventh, data track in a second session; its audio ends 11400 frames before it.
    std::vector<int> enhanced = kStarts;
    enhanced.push_back(kLeadout + 11400);
    EXPECT_EQ(musicBrainzDisc(enhanced, kLeadout + 60000, true).id, kId);
    EXPECT_NE(musicBrainzDisc(enhanced, kLeadout + 60000, false).id, kId);

    // The drive's replies in msf: starts from the disc's start, the length one frame short.
    DiscTocReplies replies;
    for (const int start : kStarts)
        replies.trackStarts << QString::asprintf("%02d:%02d:%02d", start / 4500, start / 75 % 60, start % 75);
    const int length = kLeadout - kStarts.front() - 1;
    replies.length = QString::asprintf("%02d:%02d:%02d", length / 4500, length / 75 % 60, length % 75);
    EXPECT_EQ(musicBrainzDiscFromToc(replies, false).id, kId);

    EXPECT_FALSE(musicBrainzDisc({}, 1000, false).valid());
    EXPECT_FALSE(musicBrainzDisc({150, 100}, 1000, false).valid());
}

TEST(MusicBrainzRelease, PicksTheMediumOfTheDiscAndReadsItsTitles) {
    const mb::Medium first{mb::numbered("Intro", 10), {"otherdisc"}};
    const mb::Medium second{mb::numbered("Song", 10), {kId}};
    const mb::Credit feat{{QString::fromUtf8("王菲"), " feat. "}, {"B", " & "}, {"C", ""}};
    const QByteArray body = mb::answer(
        kId, {mb::release("r1", "Double", {{"A", ""}}, "GB", "1999-05-01", {first, second}),
              mb::release("r2", QString::fromUtf8("Песни"), feat, "RU", "2001", {second}),
              mb::release("r3", "Box", {{"A", ""}}, "", "", {first, {mb::numbered("Bonus", 10), {kId}, "Extras"}}),
              mb::release("r4", "No such disc", {{"A", ""}}, "", "", {first})});
    const auto releases = parseMusicBrainzReleases(body, kId, 10);
    ASSERT_TRUE(releases);
    ASSERT_EQ(releases->size(), 3u) << "a release without the disc is left out";
    const MusicBrainzRelease& twoDiscs = (*releases)[0];
    EXPECT_EQ(twoDiscs.title, "Double (Disc 2 of 2)");
    EXPECT_EQ(twoDiscs.tracks.front(), "Song 1");
    EXPECT_EQ(twoDiscs.description(), "Double (Disc 2 of 2) - A (GB, 1999-05-01, CD)");
    EXPECT_EQ((*releases)[1].artist, QString::fromUtf8("王菲 feat. B & C"));
    EXPECT_EQ((*releases)[1].title, QString::fromUtf8("Песни"));
    EXPECT_EQ((*releases)[2].title, "Box (Extras)");
    const DiscTitles titles = (*releases)[1].titles();
    ASSERT_EQ(titles.tracks.size(), 10u);
    EXPECT_EQ(titles.tracks[9], std::make_pair(10, QStringLiteral("Song 10")));

    // Found by table of contents: the medium of the disc's track count.
    const auto byToc = parseMusicBrainzReleases(
        mb::answer({}, {mb::release("r5", "T", {{"A", ""}}, "", "", {{mb::numbered("x", 3), {}}, first})}), kId, 10);
    ASSERT_TRUE(byToc && byToc->size() == 1u);
    EXPECT_EQ(byToc->front().tracks.front(), "Intro 1");

    EXPECT_FALSE(parseMusicBrainzReleases("<html>busy</html>", kId, 10));
    EXPECT_EQ(musicBrainzError(mb::kNotFound), "Not Found");
}

// An ID the service does not know: the table-of-contents form finds it, the busy service's
// 503 is asked once more, every request a second after the last, naming the client.
TEST(MusicBrainzQuery, UnknownIdThenTableOfContentsThroughABusyServiceAtOneRequestASecond) {
    LoopbackHttpServer server;
    server.script = [](const LoopbackHttpServer::Request&, int i) {
        if (i == 0) return json(mb::kNotFound, 404);
        if (i == 1) return json(R"({"error":"busy"})", 503);
        return json(
            mb::answer({}, {mb::release("r9", "Found By Table", {{"A", ""}}, "", "", {{mb::numbered("T", 10), {}}})}));
    };
    QtHttpFetcher network;
    MusicBrainzFetcher paced(network);
    MusicBrainzQuery query(paced);
    QSignalSpy finished(&query, &MusicBrainzQuery::finished);
    query.start({"http://" + server.hostPort() + "/", musicBrainzDisc(kStarts, kLeadout, false)});
    ASSERT_TRUE(finished.wait(10000));
    const auto outcome = finished.at(0).at(0).value<MusicBrainzOutcome>();
    ASSERT_EQ(outcome.kind, MusicBrainzOutcome::Kind::Found) << outcome.failureText.toStdString();
    EXPECT_EQ(outcome.releases.front().title, "Found By Table");

    ASSERT_EQ(server.requests.size(), 3u);
    const QByteArray byId = "/ws/2/discid/" + kId.toLatin1() + "?inc=artist-credits+recordings&fmt=json";
    const QByteArray byToc = "/ws/2/discid/" + kId.toLatin1() +
                             "?toc=1+10+206535+150+18901+39738+59557+79152+100126+124833+147278+166336+182560"
                             "&cdstubs=no&inc=artist-credits+recordings&fmt=json";
    EXPECT_EQ(server.requests[0].target, byId);
    EXPECT_EQ(server.requests[1].target, byToc);
    EXPECT_EQ(server.requests[2].target, byToc);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(server.requests[i].headers.contains("User-Agent: Velmora/3.0.1 ( velmora@localhost )\r\n"))
            << server.requests[i].headers.toStdString();
        if (i > 0) {
            EXPECT_GE(server.requests[i].atMs - server.requests[i - 1].atMs, 950) << "request " << i;
        }
    }
}

TEST(MusicBrainzQuery, FailuresSayWhatTheServiceSaid) {
    const auto slow = [](int ms) {
        Answer a =
            json(mb::answer(kId, {mb::release("r1", "Late", {{"A", ""}}, "", "", {{mb::numbered("T", 10), {kId}}})}));
        a.delayMs = ms;
        return a;
    };
    const struct {
        const char* name;
        Answer answer;
        MusicBrainzOutcome::Kind kind;
        QString failure;
    } cases[] = {
        {"not found either way", json(mb::kNotFound, 404), MusicBrainzOutcome::Kind::NotFound, {}},
        {"busy twice", json(R"({"error":"Your requests are exceeding the allowable rate limit."})", 503),
         MusicBrainzOutcome::Kind::Failed,
         "MusicBrainz answered 503: Your requests are exceeding the allowable rate limit."},
        {"not JSON", LoopbackHttpServer::reply("<html>gateway</html>"), MusicBrainzOutcome::Kind::Failed,
         "The MusicBrainz answer could not be read."},
        {"connection dropped", LoopbackHttpServer::of(Answer::Kind::Close), MusicBrainzOutcome::Kind::Failed,
         "The MusicBrainz server closed the connection."},
        // The transfer's time limit is 1000 ms here.
        {"slow, within the time limit", slow(200), MusicBrainzOutcome::Kind::Found, {}},
        {"slower than the time limit", slow(2500), MusicBrainzOutcome::Kind::Failed,
         "The request to MusicBrainz timed out."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackHttpServer server;
        server.script = [&](const LoopbackHttpServer::Request&, int) { return c.answer; };
        QtHttpFetcher network;
        network.setTimeoutMs(1000);
        MusicBrainzFetcher paced(network, 10);
        MusicBrainzQuery query(paced);
        QSignalSpy finished(&query, &MusicBrainzQuery::finished);
        query.start({"http://" + server.hostPort(), musicBrainzDisc(kStarts, kLeadout, false)});
        ASSERT_TRUE(finished.wait(10000));
        const auto outcome = finished.at(0).at(0).value<MusicBrainzOutcome>();
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_EQ(outcome.failureText, c.failure);
    }
}

// HTTPS against a server whose certificate the test made: trusted only where the test says so.
TEST(MusicBrainzQuery, AsksOverHttpsWithTheCertificateTrustedAndRefusesItOtherwise) {
    const TestCertificate made = makeTestCertificate();
    ASSERT_FALSE(made.certificate.isNull()) << "the openssl program could not make a certificate";
    LoopbackHttpServer server(made.certificate, made.key);
    server.script = [](const LoopbackHttpServer::Request&, int) {
        return json(
            mb::answer(kId, {mb::release("r1", "Secure", {{"A", ""}}, "", "", {{mb::numbered("T", 10), {kId}}})}));
    };
    for (const bool trusted : {true, false}) {
        SCOPED_TRACE(trusted ? "trusted" : "the system's authorities alone");
        QtHttpFetcher network;
        if (trusted) network.trustAuthorities({made.certificate});
        MusicBrainzFetcher paced(network, 10);
        MusicBrainzQuery query(paced);
        QSignalSpy finished(&query, &MusicBrainzQuery::finished);
        query.start({"https://" + server.hostPort(), musicBrainzDisc(kStarts, kLeadout, false)});
        ASSERT_TRUE(finished.wait(10000));
        const auto outcome = finished.at(0).at(0).value<MusicBrainzOutcome>();
        EXPECT_EQ(outcome.kind, trusted ? MusicBrainzOutcome::Kind::Found : MusicBrainzOutcome::Kind::Failed);
    }
    EXPECT_EQ(server.requests.size(), 1u) << "the untrusted server never hears the request";
}

TEST(CoverArt, TheFrontCoverFollowsTheRedirectAndIsKeptPerDisc) {
    const QByteArray jpeg = QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(300, 'j');
    LoopbackHttpServer server;
    server.script = [&](const LoopbackHttpServer::Request& request, int) {
        if (request.target == "/release/r1/front-250") return LoopbackHttpServer::redirect("/img/r1-250.jpg");
        if (request.target == "/img/r1-250.jpg") return LoopbackHttpServer::reply(jpeg);
        return LoopbackHttpServer::reply("Not Found", 404);
    };
    QTemporaryDir dir;
    const CoverCache cache(dir.filePath("covers"));
    QtHttpFetcher network;
    CoverArtFetch fetch(network);
    QSignalSpy finished(&fetch, &CoverArtFetch::finished);
    for (const char* release : {"r1", "r2"}) {
        fetch.start("http://" + server.hostPort() + "/", release);
        ASSERT_TRUE(finished.wait(5000));
        const QByteArray picture = finished.takeFirst().at(0).toByteArray();
        EXPECT_EQ(picture, QByteArray(release) == "r1" ? jpeg : QByteArray());
        if (!picture.isEmpty()) {
            EXPECT_EQ(cache.store("1C02F203", picture), dir.filePath("covers/1C02F203.jpg"));
        }
    }
    EXPECT_EQ(cache.find("1C02F203"), dir.filePath("covers/1C02F203.jpg"));
    EXPECT_TRUE(cache.find("0A0B0C0D").isEmpty());
    EXPECT_TRUE(cache.store("0A0B0C0D", "<html>").isEmpty()) << "no picture, no file";
}

// Without a window: MusicBrainz first, then the CDDB server; the first record wins.
TEST(DiscLookup, MusicBrainzThenCddbFirstRecordWins) {
    const HttpReply mbFound{
        HttpError::None,
        200,
        mb::answer(kId, {mb::release("r1", "From MB", {{"A", ""}}, "", "", {{mb::numbered("T", 10), {kId}}})}),
        {}};
    const HttpReply mbMissing{HttpError::HttpStatus, 404, mb::kNotFound, {}};
    const HttpReply mbDown{HttpError::ConnectionRefused, 0, {}, {}};
    const HttpReply cddbFound{HttpError::None, 200, cddbRecordReply(10), {}};
    const HttpReply cddbMissing{HttpError::None, 200, "401 rock x No such CD entry\r\n", {}};
    const struct {
        const char* name;
        HttpReply mb, cddb;
        DiscLookupOutcome::Kind kind;
        DiscLookupOutcome::Source source;
        QString title;
        int failures;
    } cases[] = {
        {"on MusicBrainz", mbFound, cddbFound, DiscLookupOutcome::Kind::Found, DiscLookupOutcome::Source::MusicBrainz,
         "From MB", 0},
        {"only on the CDDB server", mbMissing, cddbFound, DiscLookupOutcome::Kind::Found,
         DiscLookupOutcome::Source::Cddb, "Album", 0},
        {"MusicBrainz down, the CDDB server knows it", mbDown, cddbFound, DiscLookupOutcome::Kind::Found,
         DiscLookupOutcome::Source::Cddb, "Album", 1},
        {"nowhere", mbMissing, cddbMissing, DiscLookupOutcome::Kind::NotFound, DiscLookupOutcome::Source::None, {}, 0},
        {"nowhere, one down",
         mbDown,
         cddbMissing,
         DiscLookupOutcome::Kind::Failed,
         DiscLookupOutcome::Source::None,
         {},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedHttpFetcher mbFetcher, cddbFetcher;
        mbFetcher.respond = [&](const QUrl&, int) { return c.mb; };
        cddbFetcher.respond = [&](const QUrl&, int) { return c.cddb; };
        DiscLookup lookup(mbFetcher, cddbFetcher);
        QSignalSpy finished(&lookup, &DiscLookup::finished);
        lookup.start({{"http://mb.example", musicBrainzDisc(kStarts, kLeadout, false)},
                      {"cddb.example/cddb.cgi", "jo", "0a0b0c0d"}});
        ASSERT_TRUE(finished.wait(5000));
        const auto outcome = finished.at(0).at(0).value<DiscLookupOutcome>();
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_EQ(outcome.source, c.source);
        EXPECT_EQ(outcome.titles.title, c.title);
        EXPECT_EQ(outcome.failures.size(), c.failures);
        EXPECT_EQ(outcome.releaseId, c.source == DiscLookupOutcome::Source::MusicBrainz ? "r1" : "");
        EXPECT_EQ(cddbFetcher.requests.empty(), c.source == DiscLookupOutcome::Source::MusicBrainz);
    }
}
