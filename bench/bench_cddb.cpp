// The CDDB lookup over loopback, asking all ten sections of a server that knows no disc,
// and the parse of a 99-track record whose keys run over several lines.
#include "cddb/cddb_query.h"
#include "loopback_http_server.h"
#include "platform/net/qt_http_fetcher.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>

using namespace velmora;

static void BM_LookupAllTenSectionsNotFound(benchmark::State& state) {
    LoopbackHttpServer server;
    server.script = [](const LoopbackHttpServer::Request&, int) {
        return LoopbackHttpServer::reply("401 rock 0a0b0c0d No such CD entry in database.\r\n");
    };
    QtHttpFetcher fetcher;
    CddbQuery query(fetcher);
    CddbOutcome outcome;
    QEventLoop ended;
    QObject::connect(&query, &CddbQuery::finished, &ended, [&](const CddbOutcome& o) {
        outcome = o;
        ended.quit();
    });
    const CddbLookup lookup{server.hostPort() + "/~cddb/cddb.cgi", "jo smith", "0a0b0c0d"};
    for (auto _ : state) {
        query.start(lookup);
        ended.exec();
        if (outcome.kind != CddbOutcome::Kind::NotFound) {
            state.SkipWithError("the lookup did not end Not Found");
            break;
        }
    }
    state.counters["requests"] = static_cast<double>(server.requests.size());
}
BENCHMARK(BM_LookupAllTenSectionsNotFound)->Unit(benchmark::kMillisecond);

static QByteArray ninetyNineTrackRecord() {
    QByteArray r =
        "210 misc 5f0a6363 CD database entry follows (until terminating `.')\r\n# xmcd\r\n#\r\n"
        "# Track frame offsets:\r\n";
    for (int i = 0; i < 99; ++i) r += "#\t" + QByteArray::number(150 + i * 3375) + "\r\n";
    r += "#\r\n# Disc length: 4470 seconds\r\n#\r\nDISCID=5f0a6363\r\n"
         "DTITLE=An Ensemble With A Rather Long Name And Then Some More Words To Fill The Line\r\n"
         "DTITLE= / Ninety-Nine Short Pieces For Strings, Winds And A Very Patient Listener\r\nDYEAR=2001\r\n"
         "DGENRE=Classical\r\n";
    for (int i = 0; i < 99; ++i) {
        const QByteArray key = "TTITLE" + QByteArray::number(i) + "=";
        r += key + "Piece No. " + QByteArray::number(i + 1) + " in a long-winded title that the server\r\n";
        r += key + " had to continue on a second line \\t with an escape\r\n";
    }
    r += "EXTD=\r\n";
    for (int i = 0; i < 99; ++i) r += "EXTT" + QByteArray::number(i) + "=\r\n";
    return r + "PLAYORDER=\r\n.\r\n";
}

static void BM_Parse99TrackRecord(benchmark::State& state) {
    const QByteArray body = ninetyNineTrackRecord();
    for (auto _ : state) {
        std::optional<CddbRecord> record = parseCddbRecord(body);
        if (!record || record->tracks.size() != 99) {
            state.SkipWithError("the record did not parse to 99 tracks");
            break;
        }
        benchmark::DoNotOptimize(record);
    }
    state.counters["bytes"] = static_cast<double>(body.size());
}
BENCHMARK(BM_Parse99TrackRecord)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);  // the lookup and the server run in the event loop
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
