// Digital playback of a disc image: CPU cost and how fast commands reach the output.
//
//   bench_playback [SECONDS]
//
// 1. CPU: plays SECONDS (default 60) of a generated image in real time while polling the
//    drive's status 17 times a second, as the window's refresh does, and reports the
//    process's CPU time over that span (getrusage) as a share of one core.
// 2. The engine alone for SECONDS: CPU, wake-ups (voluntary context switches of all its
//    threads, a second's snapshot of the position aside) and underruns of the device.
// 3. Latency: the time from pause, resume, seek-then-play and play-from commands to the
//    moment the output changes: old audio thrown away (snd_pcm_drop) or the first new
//    audio handed to the device. A real device adds its own start-up.
//
// The output is VELMORA_PCM when set (e.g. "default" through a sound server, paced by the
// device); otherwise a file output to /dev/null, which the engine paces by its own clock.
#include "platform/audio/playback_engine.h"
#include "platform/cdio/cdio_drive.h"
#include "platform/cdio/cdio_handle.h"
#include "platform/cdio/disc_image_writer.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

using namespace velmora;
using Steady = std::chrono::steady_clock;

namespace {

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long voluntarySwitches() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_nvcsw;
}

PcmTarget outputTarget() {
    if (const char* env = std::getenv("VELMORA_PCM"); env && *env) return PcmTarget::fromEnvironment();
    PcmTarget t;
    t.device = "bench";
    t.configText = "pcm.bench { type file slave.pcm { type null } file \"/dev/null\" format \"raw\" }";
    return t;
}

struct Observer final : PlaybackEngine::OutputObserver {
    std::atomic<bool> armWrite{false}, armDiscard{false};
    std::atomic<std::int64_t> expectSample{-1};
    std::atomic<Steady::rep> at{0};
    void written(std::int64_t first, long frames) override {
        const std::int64_t want = expectSample.load();
        if (armWrite && (want < 0 || (first <= want && want < first + frames))) {
            at = Steady::now().time_since_epoch().count();
            armWrite = false;
        }
    }
    void discarded() override {
        if (armDiscard.exchange(false)) at = Steady::now().time_since_epoch().count();
    }
    // Milliseconds from `start` until the armed event, or -1 after a second.
    double waitMs(Steady::time_point start) {
        const auto deadline = start + std::chrono::seconds(1);
        while (Steady::now() < deadline) {
            if (!armWrite && !armDiscard) break;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        if (armWrite || armDiscard) return -1;
        return std::chrono::duration<double, std::milli>(Steady::time_point(Steady::duration(at.load())) - start)
            .count();
    }
};

void report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    if (ms.empty()) return;
    const bool lost = ms.front() < 0;
    if (std::getenv("BENCH_VERBOSE")) {
        for (double v : ms) std::printf("%.1f ", v);
        std::printf("\n");
    }
    std::printf("  %-28s median %6.1f ms   max %6.1f ms%s\n", what, ms[ms.size() / 2], ms.back(),
                lost ? "   (some never reached the output)" : "");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    QTemporaryDir dir;
    const QString cue = dir.path() + "/bench.cue";
    const int trackFrames = (seconds / 2 + 10) * 75;
    QString error;
    if (!writeBinCueImage(
            cue, {{trackFrames}, {trackFrames}},
            [](int track, int frame, std::int16_t* out) {
                for (int i = 0; i < 588; ++i) {
                    const double t = (frame * 588 + i) / 44100.0;
                    out[2 * i] = out[2 * i + 1] =
                        static_cast<std::int16_t>(8000 * std::sin(2 * M_PI * (330 + 110 * track) * t));
                }
            },
            &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const PcmTarget target = outputTarget();
    std::printf("output: %s\n", target.describe().c_str());

    // 1. CPU over real-time playback with the window's polling.
    {
        CdioDriveOptions options;
        options.pcm = target;
        auto drive = openCdioDrive(cue, std::make_shared<SteadyClock>(), &error, options);
        if (!drive) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        const auto toc = drive->toc();
        if (drive->play(toc->tracks.front().startFrame, toc->leadoutFrame) != DriveError::None) {
            std::fprintf(stderr, "play: %s\n", drive->lastErrorDetail().c_str());
            return 1;
        }
        const double cpu0 = cpuSeconds();
        const auto t0 = Steady::now();
        long polls = 0;
        // Past the start-up (the device's buffer filling), the position must keep pace with
        // the wall clock; falling behind means the output ran dry.
        const auto settle = std::chrono::milliseconds(std::min(5000, seconds * 250));
        int settledFrame = -1;
        Steady::time_point settledAt;
        while (Steady::now() - t0 < std::chrono::seconds(seconds)) {
            if (settledFrame < 0 && Steady::now() - t0 >= settle) {
                settledAt = Steady::now();
                settledFrame = drive->status().positionFrame;
            }
            drive->status();
            drive->toc();
            ++polls;
            std::this_thread::sleep_for(std::chrono::milliseconds(59));
        }
        const double wall = std::chrono::duration<double>(Steady::now() - t0).count();
        const double cpu = cpuSeconds() - cpu0;
        const DriveStatus s = drive->status();
        const double played = (s.positionFrame - settledFrame) / 75.0;
        const double span = std::chrono::duration<double>(Steady::now() - settledAt).count();
        std::printf("CPU: %.2f s over %.1f s of playback = %.2f %% of one core (%ld status polls)\n", cpu, wall,
                    100 * cpu / wall, polls);
        std::printf("     after start-up the position advanced %.2f s in %.2f s of wall time; mode %s\n", played, span,
                    s.mode == DriveMode::Playing ? "playing" : "NOT playing");
        drive->stop();
    }

    const std::string cueBytes = QFile::encodeName(cue).toStdString();
    auto handle = std::make_shared<CdioHandle>(makeCdioDevice(cueBytes, CdioSource::BinCue));
    handle->device->open(cueBytes);
    auto reader = makePlainReader(handle);
    const int start = 150, leadout = 150 + 2 * trackFrames;

    // 2. The engine alone, looked at once a second.
    {
        PlaybackEngine engine(target, std::make_shared<SteadyClock>());
        if (engine.play({{start, leadout}}, reader) != DriveError::None) {
            std::fprintf(stderr, "play: %s\n", engine.lastError().c_str());
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::seconds(3));  // past the start-up
        const double cpu0 = cpuSeconds();
        const long switches0 = voluntarySwitches();
        const auto t0 = Steady::now();
        const int frame0 = engine.snapshot().positionFrame;
        while (Steady::now() - t0 < std::chrono::seconds(seconds)) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            engine.snapshot();
        }
        const double wall = std::chrono::duration<double>(Steady::now() - t0).count();
        const double cpu = cpuSeconds() - cpu0;
        const long switches = voluntarySwitches() - switches0 - static_cast<long>(wall);
        const EngineSnapshot s = engine.snapshot();
        std::printf(
            "Engine alone: %.2f %% of one core, %.1f wake-ups a second, %d underruns over %.1f s;"
            " heard %.2f s\n",
            100 * cpu / wall, switches / wall, engine.underruns(), wall, (s.positionFrame - frame0) / 75.0);
        engine.stop(start);
    }

    // 3. Command latency, at the engine's boundary with the sound device.
    PlaybackEngine engine(target, std::make_shared<SteadyClock>());
    Observer observer;
    engine.setOutputObserver(&observer);
    std::vector<double> pause, resume, seekPlay, playFrom, stop;
    auto timed = [&](bool write, std::int64_t sample, auto command) {
        observer.expectSample = sample;
        (write ? observer.armWrite : observer.armDiscard) = true;
        const auto t = Steady::now();
        command();
        return observer.waitMs(t);
    };
    for (int round = 0; round < 15; ++round) {
        const int span = trackFrames / 75 - 3;  // seconds into a track that leave room to play
        const int a = start + (round * 37 % span) * 75;
        engine.play({{a, leadout}}, reader);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        pause.push_back(timed(false, -1, [&] { engine.pause(); }));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        resume.push_back(timed(true, -1, [&] { engine.resume(); }));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const int b = start + trackFrames + (round * 53 % span) * 75;
        playFrom.push_back(timed(true, std::int64_t(b) * 588, [&] { engine.play({{b, leadout}}, reader); }));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const int c = start + (round * 11 % span) * 75;
        seekPlay.push_back(timed(true, std::int64_t(c) * 588, [&] {
            engine.stop(c);
            engine.play({{c, leadout}}, reader);
        }));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        stop.push_back(timed(false, -1, [&] { engine.stop(start); }));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::printf("Latency, command to output (15 rounds):\n");
    report("pause (audio dropped)", pause);
    report("stop (audio dropped)", stop);
    report("resume (first audio out)", resume);
    report("play from, while playing", playFrom);
    report("seek, then play", seekPlay);
    std::printf("underruns: %d\n", engine.underruns());
    engine.setOutputObserver(nullptr);
    return 0;
}
