// The track list editor on a collection of 10,000 discs, the disc in the drive the last one
// in the file. Targets: opening (the section read into the window) and saving (the section
// written back and flushed) under 50 ms each.
#include "disc_collection.h"
#include "discdb/disc_database.h"
#include "discdb/ui/frm_add_cd.h"
#include "platform/message_box.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>

#include <memory>

using namespace velmora;

namespace {

struct Player {
    RecordingMessageBoxes boxes;
    // The disc in the drive: the collection's last.
    QString discId = QStringLiteral("A0B1C20C");
    std::unique_ptr<bench::DiscCollection> collection = std::make_unique<bench::DiscCollection>(discId);
    std::unique_ptr<DiscDatabase> database = std::make_unique<DiscDatabase>(collection->path);
};

Player& player() {
    static Player p;
    return p;
}

void BM_EditorOpen(benchmark::State& state) {
    Player& p = player();
    for (auto _ : state) {
        auto editor = std::make_unique<FrmAddCD>(*p.database, p.boxes);
        editor->Form_Load(p.discId, DiscRecord{});
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
        auto editor = std::make_unique<FrmAddCD>(*p.database, p.boxes);
        editor->Form_Load(p.discId, DiscRecord{});
        // A different title each time, so no write is skipped as unchanged.
        editor->txtTitle()->setText(QStringLiteral("Edited %1").arg(++n));
        state.ResumeTiming();
        editor->close();
        state.PauseTiming();
        editor.reset();
        state.ResumeTiming();
    }
    const QStringList saved = p.database->entries(p.discId);
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
