// The track list editor on a collection of 10,000 discs, the disc in the drive the last one
// in the file. Targets: opening (the section read into the window) and saving (the section
// written back and flushed) under 50 ms each.
#include "disc_collection.h"
#include "discdb/disc_database.h"
#include "discdb/ui/frm_add_cd.h"
#include "platform/clock.h"
#include "platform/mci/mci_interpreter.h"
#include "platform/message_box.h"
#include "platform/sim/simulated_drive.h"
#include "player/mci_channel.h"
#include "player/player_core.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>

#include <memory>

using namespace velmora;

namespace {

struct Player {
    QTemporaryDir scratch;
    std::shared_ptr<SimulatedDrive> drive = std::make_shared<SimulatedDrive>(std::make_shared<ManualClock>());
    MciInterpreter interpreter{[this] { return drive; }};
    RecordingMessageBoxes boxes;
    MciChannel channel{interpreter, boxes};
    DiscDatabase firstLook{scratch.filePath(QStringLiteral("first.ini"))};
    PlayerCore core{channel, firstLook};
    std::unique_ptr<bench::DiscCollection> collection;
    std::unique_ptr<DiscDatabase> database;

    Player() {
        DiscToc toc;
        for (int n = 1; n <= 12; ++n) toc.tracks.push_back({n, 150 + (n - 1) * 15000, true});
        toc.leadoutFrame = 150 + 12 * 15000;
        drive->insert(toc);
        channel.SendMCIString(QStringLiteral("open cdaudio alias cd wait shareable"), true);
        channel.SendMCIString(QStringLiteral("set cd time format tmsf wait"), true);
        core.session.runStep([this] { core.identity.identifyDisc(); });
        collection = std::make_unique<bench::DiscCollection>(core.session.disc().ID);
        database = std::make_unique<DiscDatabase>(collection->path);
    }
};

Player& player() {
    static Player p;
    return p;
}

void BM_EditorOpen(benchmark::State& state) {
    Player& p = player();
    for (auto _ : state) {
        auto editor = std::make_unique<FrmAddCD>(p.core.session, *p.database, p.boxes);
        editor->Form_Load();
        benchmark::DoNotOptimize(editor->txtTrk(12)->text());
        state.PauseTiming();
        editor->hide();
        editor.reset();
        state.ResumeTiming();
    }
    if (!p.boxes.shown.empty()) state.SkipWithError("the editor reported a problem");
    state.counters["file_MB"] = static_cast<double>(p.collection->bytes) / 1e6;
}
BENCHMARK(BM_EditorOpen)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EditorSave(benchmark::State& state) {
    Player& p = player();
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto editor = std::make_unique<FrmAddCD>(p.core.session, *p.database, p.boxes);
        editor->Form_Load();
        // A different title each time, so no write is skipped as unchanged.
        editor->txtTitle()->setText(QStringLiteral("Edited %1").arg(++n));
        state.ResumeTiming();
        editor->close();
        state.PauseTiming();
        editor.reset();
        state.ResumeTiming();
    }
    const QStringList saved = p.database->entries(p.core.session.disc().ID);
    if (!p.boxes.shown.empty() || !saved.contains(QStringLiteral("Title=Edited %1").arg(n)))
        state.SkipWithError("the titles were not saved");
}
BENCHMARK(BM_EditorSave)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
