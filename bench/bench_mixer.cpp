// One master-volume read and one write, each a full open-find-access-close of the mixer.
// Run through tools/with-pulse.sh to measure against a sound server; without one the
// numbers are those of a machine with no mixer (the accesses fail fast).
#include "mixer/alsa_mixer_volume.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

std::string device() {
    const char* name = std::getenv("VELMORA_MIXER_DEVICE");
    return name && *name ? name : "default";
}

void BM_MainVolumeRead(benchmark::State& state) {
    velmora::AlsaMixerVolume mixer(device());
    if (mixer.MainVolume() < 0) state.SetLabel("no mixer on " + device());
    for (auto _ : state) benchmark::DoNotOptimize(mixer.MainVolume());
}
BENCHMARK(BM_MainVolumeRead)->Unit(benchmark::kMillisecond);

void BM_MainVolumeWrite(benchmark::State& state) {
    velmora::AlsaMixerVolume mixer(device());
    const std::int32_t original = mixer.MainVolume();
    if (original < 0) state.SetLabel("no mixer on " + device());
    std::int32_t value = 0;
    for (auto _ : state) {
        value = (value + 4099) & 0xFFFF;
        mixer.setMainVolume(value);
    }
    if (original >= 0) mixer.setMainVolume(original);
}
BENCHMARK(BM_MainVolumeWrite)->Unit(benchmark::kMillisecond);

void BM_MainMuteRead(benchmark::State& state) {
    velmora::AlsaMixerVolume mixer(device());
    for (auto _ : state) benchmark::DoNotOptimize(mixer.MainMute());
}
BENCHMARK(BM_MainMuteRead)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // The private server of tools/with-pulse.sh, taken before ALSA first reads its
    // configuration (that is when "default" becomes the server).
    if (const char* server = std::getenv("VELMORA_PULSE_SERVER"); server && *server) {
        setenv("PULSE_SERVER", server, 1);
        if (const char* lock = std::getenv("VELMORA_PULSE_LOCK"); lock && *lock)
            setenv("PULSE_COOKIE", (std::string(lock) + ".cookie").c_str(), 1);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
