// Start-up drawing cost: the built-in skin and every small picture are drawn when the
// main window is created, so together they should stay far below a frame's worth of
// start-up delay (target: well under 50 ms).
#include "chrome/artwork.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace {

using namespace velmora::artwork;

void BM_DrawSkin(benchmark::State& state) {
    const Skin skin = static_cast<Skin>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(drawSkin(skin));
}
BENCHMARK(BM_DrawSkin)
    ->Arg(int(Skin::BuiltIn))
    ->Arg(int(Skin::Cloud))
    ->Arg(int(Skin::Midnight))
    ->Arg(int(Skin::Brushed))
    ->Unit(benchmark::kMillisecond);

// Everything else the main window takes at start-up.
void BM_StartupPictures(benchmark::State& state) {
    for (auto _ : state) {
        for (TransportButton b : kAllTransportButtons) {
            benchmark::DoNotOptimize(transportPicture(b, true));
            benchmark::DoNotOptimize(transportPicture(b, false));
        }
        benchmark::DoNotOptimize(aboutPicture());
        benchmark::DoNotOptimize(minimizePicture());
        benchmark::DoNotOptimize(exitPicture());
        benchmark::DoNotOptimize(trackPickerPicture());
        benchmark::DoNotOptimize(trackEditorPicture());
        benchmark::DoNotOptimize(muteImage());
        benchmark::DoNotOptimize(unmuteImage());
        benchmark::DoNotOptimize(trayIcon());
        benchmark::DoNotOptimize(transportCursor());
        benchmark::DoNotOptimize(setupCursor());
    }
}
BENCHMARK(BM_StartupPictures)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
