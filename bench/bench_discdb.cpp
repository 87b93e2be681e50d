// The disc database at the size of a large collection: 10,000 discs of 12 to 20 tracks.
// Targets: a load under 5 ms, a section write (flushed to disk) under 50 ms.
#include "disc_collection.h"
#include "discdb/disc_database.h"
#include "discdb/profile_file.h"
#include "platform/mci_service.h"
#include "platform/message_box.h"
#include "player/disc_identity.h"
#include "player/mci_channel.h"
#include "player/player_session.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

using namespace velmora;

namespace {

class TwelveTracks final : public MciService {
public:
    int sendString(const std::string&, char* buffer, int length) override {
        if (length < 3) return 268;
        std::memcpy(buffer, "12", 3);
        return 0;
    }
    bool errorString(int, char*, int) const override { return false; }
};

using bench::kDiscs;
QString discId(int i) { return bench::collectionDiscId(i); }
using Database = bench::DiscCollection;

Database& database() {
    static Database db;
    return db;
}

void BM_GetCDINFO_KnownDisc(benchmark::State& state) {
    Database& db = database();
    TwelveTracks drive;
    RecordingMessageBoxes boxes;
    MciChannel channel(drive, boxes);
    PlayerSession session(channel);
    DiscDatabase discs(db.path);
    DiscIdentity identity(session, discs);
    // Near the end of the file: the whole file is scanned.
    const QString id = discId(kDiscs - 7);
    for (auto _ : state) {
        identity.GetCDINFO(id);
        benchmark::DoNotOptimize(session.disc().Title);
    }
    state.counters["file_MB"] = static_cast<double>(db.bytes) / 1e6;
}
BENCHMARK(BM_GetCDINFO_KnownDisc)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadSection(benchmark::State& state) {
    Database& db = database();
    const QString id = discId(kDiscs / 2);
    for (auto _ : state) benchmark::DoNotOptimize(profile::readSection(db.path, id));
}
BENCHMARK(BM_ReadSection)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteSection(benchmark::State& state) {
    Database& db = database();
    const QString id = discId(kDiscs / 2);
    int n = 0;
    for (auto _ : state) {
        // A different title each time, so that no write is skipped as unchanged.
        QStringList entries{QStringLiteral("Title=Edited %1").arg(++n), QStringLiteral("Artist=Someone"),
                            QStringLiteral("Revision=1"), QStringLiteral("NumberOfTracks=12")};
        for (int t = 1; t <= 12; ++t) entries << QStringLiteral("Track%1=Edited song %1").arg(t);
        if (!profile::writeSection(db.path, id, entries)) state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_WriteSection)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GetCDINFO_NewDisc(benchmark::State& state) {
    Database& db = database();
    TwelveTracks drive;
    RecordingMessageBoxes boxes;
    MciChannel channel(drive, boxes);
    PlayerSession session(channel);
    DiscDatabase discs(db.path);
    DiscIdentity identity(session, discs);
    int n = 0;
    for (auto _ : state) {
        // Two reads and a flushed write of the default section.
        identity.GetCDINFO(QStringLiteral("NEW%1").arg(++n, 5, 10, QLatin1Char('0')));
        benchmark::DoNotOptimize(session.disc().Title);
    }
}
BENCHMARK(BM_GetCDINFO_NewDisc)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);

}  // namespace

BENCHMARK_MAIN();
