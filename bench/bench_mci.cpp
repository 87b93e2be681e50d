// One display refresh's worth of status queries (5 + one length per track), on a 12-track
// and a 99-track simulated disc, straight into the interpreter and through the player's
// channel. The target is well under 1 ms per refresh of the 99-track disc.
#include "platform/message_box.h"
#include "platform/mci/mci_interpreter.h"
#include "platform/sim/simulated_drive.h"
#include "player/mci_channel.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace velmora;

struct Rig {
    std::shared_ptr<SteadyClock> clock = std::make_shared<SteadyClock>();
    std::shared_ptr<SimulatedDrive> drive = std::make_shared<SimulatedDrive>(clock);
    MciInterpreter mci{[this] { return drive; }};
    std::vector<std::string> lengthQueries;

    explicit Rig(int tracks) {
        DiscToc toc;
        for (int i = 0; i < tracks; ++i) toc.tracks.push_back({i + 1, 150 + i * 3000, true});
        toc.leadoutFrame = 150 + tracks * 3000;
        drive->insert(toc);
        mci.sendString("open cdaudio alias cd wait shareable", nullptr, 0);
        mci.sendString("set cd time format tmsf wait", nullptr, 0);
        mci.sendString("play cd from 2", nullptr, 0);
        for (int n = 1; n <= tracks; ++n) lengthQueries.push_back("status cd length track " + std::to_string(n));
    }
};

void refreshDirect(benchmark::State& state) {
    Rig rig(static_cast<int>(state.range(0)));
    char reply[30];
    for (auto _ : state) {
        rig.mci.sendString("status cd media present", reply, sizeof reply);
        rig.mci.sendString("status cd type track 1", reply, sizeof reply);
        rig.mci.sendString("status cd number of tracks wait", reply, sizeof reply);
        for (const auto& q : rig.lengthQueries) rig.mci.sendString(q, reply, sizeof reply);
        rig.mci.sendString("status cd position", reply, sizeof reply);
        rig.mci.sendString("status cd mode", reply, sizeof reply);
        benchmark::DoNotOptimize(reply);
    }
}
BENCHMARK(refreshDirect)->Arg(12)->Arg(99)->Unit(benchmark::kMicrosecond);

void refreshThroughChannel(benchmark::State& state) {
    const int tracks = static_cast<int>(state.range(0));
    Rig rig(tracks);
    RecordingMessageBoxes boxes;
    MciChannel channel(rig.mci, boxes);
    for (auto _ : state) {
        benchmark::DoNotOptimize(channel.plainSend(QStringLiteral("status cd media present"), 30));
        benchmark::DoNotOptimize(channel.plainSend(QStringLiteral("status cd type track 1"), 30));
        benchmark::DoNotOptimize(channel.plainSend(QStringLiteral("status cd number of tracks wait"), 30));
        for (int n = 1; n <= tracks; ++n)
            benchmark::DoNotOptimize(
                channel.plainSend(QStringLiteral("status cd length track ") + QString::number(n), 30));
        benchmark::DoNotOptimize(channel.plainSend(QStringLiteral("status cd position"), 30));
        benchmark::DoNotOptimize(channel.plainSend(QStringLiteral("status cd mode"), 30));
    }
}
BENCHMARK(refreshThroughChannel)->Arg(12)->Arg(99)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
