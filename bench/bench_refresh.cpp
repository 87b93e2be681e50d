// One display refresh against the real command interpreter and a simulated drive.
#include "app/app_services.h"
#include "app/frm_cdplayer.h"
#include "app/velmora_app.h"
#include "mixer/null_mixer_volume.h"
#include "platform/clock.h"
#include "platform/mci/mci_interpreter.h"
#include "platform/message_box.h"
#include "platform/sim/simulated_drive.h"
#include "player/player_core.h"
#include "settings/qsettings_registry.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace velmora;

namespace {
DiscToc discOf(int tracks) {
    DiscToc toc;
    int frame = 150;
    for (int n = 1; n <= tracks; ++n) {
        toc.tracks.push_back({n, frame, true});
        frame += 40 * 75;
    }
    toc.leadoutFrame = frame;
    return toc;
}

void UpdateDisplay(benchmark::State& state) {
    QTemporaryDir dir;
    auto clock = std::make_shared<ManualClock>();
    auto drive = std::make_shared<SimulatedDrive>(clock);
    drive->insert(discOf(static_cast<int>(state.range(0))));
    MciInterpreter interpreter([drive] { return drive; });
    RecordingMessageBoxes boxes;
    AppServices services;
    services.mci = &interpreter;
    services.boxes = &boxes;
    const QString ini = dir.filePath("registry.ini");
    services.registry = [ini] { return std::make_unique<QSettingsRegistry>(ini); };
    services.mixer = [] { return std::make_unique<NullMixerVolume>(); };
    services.programFolder = dir.path();
    services.discDatabasePath = dir.filePath("Velmora.ini");
    VelmoraApp app(services);
    app.start();
    app.mainWindow().show();
    app.core().transport.Play();
    for (auto _ : state) {
        clock->advanceMs(1000);
        app.core().refresh.UpdateDisplay();
    }
}
BENCHMARK(UpdateDisplay)->Arg(12)->Arg(99)->Unit(benchmark::kMicrosecond);
}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
