// Track changes under the play modes, on the demo disc image with digital playback to an
// ALSA file output, the player core running as in the program (the refresh once a
// second, the end watch, the transport):
//
//   bench_playmodes [DEMO.cue]
//
// 1. Shuffle: the whole disc in a random order, to the stop at its end.
// 2. Repeat track: a short track played four times over.
// 3. Repeat disc: the last track, then over the disc's end into the first.
//
// For each change of track it reports the silence: from the moment the last audio of one
// play was handed to the output to the moment the first audio of the next was (a file
// output takes audio as it is due, so this is what a listener would miss; it includes up
// to one 10 ms step of the output's own pacing). And the audio of a wrong track: samples
// handed to the output that belong to no track the player asked for at that point (the
// drive running on past a track's end before the player turned it elsewhere).
#include "discdb/disc_database.h"
#include "platform/cdio/cdio_drive.h"
#include "platform/mci/mci_interpreter.h"
#include "platform/message_box.h"
#include "player/mci_channel.h"
#include "player/player_core.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <vector>

using namespace velmora;
using Steady = std::chrono::steady_clock;

namespace {

constexpr std::int64_t kSamplesPerFrame = 588;

// Every write to the output with when it was made, and where a play ended (the engine
// lets go of what the output holds of it).
struct Writes final : PlaybackEngine::OutputObserver {
    struct Write {
        Steady::time_point at;
        std::int64_t first = 0;
        long frames = 0;
        bool ended = false;
    };
    std::mutex mu;
    std::vector<Write> writes;
    void written(std::int64_t first, long frames) override {
        const auto now = Steady::now();
        std::lock_guard lock(mu);
        writes.push_back({now, first, frames, false});
    }
    void discarded() override {
        const auto now = Steady::now();
        std::lock_guard lock(mu);
        writes.push_back({now, 0, 0, true});
    }
    std::vector<Write> take() {
        std::lock_guard lock(mu);
        return std::exchange(writes, {});
    }
};

// The track numbers the player asks the drive to play, in order.
class Asked final : public MciService {
public:
    explicit Asked(MciService& inner) : inner_(inner) {}
    int sendString(const std::string& command, char* buffer, int length) override {
        if (command.rfind("play cd from ", 0) == 0) tracks.push_back(std::atoi(command.c_str() + 13));
        return inner_.sendString(command, buffer, length);
    }
    bool errorString(int code, char* buffer, int length) const override {
        return inner_.errorString(code, buffer, length);
    }
    std::string takePlaybackFailure() override { return inner_.takePlaybackFailure(); }
    std::vector<int> tracks;

private:
    MciService& inner_;
};

int trackOf(const DiscToc& toc, std::int64_t sample) {
    const auto frame = static_cast<int>(sample / kSamplesPerFrame);
    int track = 0;
    for (const TocTrack& t : toc.tracks)
        if (t.startFrame <= frame) track = t.number;
    return track;
}

// Walks the writes against the plays asked for, one play after each end.
void report(const char* name, const DiscToc& toc, const std::vector<Writes::Write>& writes,
            const std::vector<int>& asked) {
    std::vector<double> gaps;
    std::int64_t wrong = 0;
    std::size_t play = 0;  // index into `asked` of the play under way
    bool ended = false;
    const Writes::Write* before = nullptr;
    for (const Writes::Write& w : writes) {
        if (w.ended) {
            ended = before != nullptr;
            continue;
        }
        if (ended) {
            gaps.push_back(std::chrono::duration<double, std::milli>(w.at - before->at).count());
            ++play;
            ended = false;
        }
        before = &w;
        const int first = trackOf(toc, w.first);
        const int last = trackOf(toc, w.first + w.frames - 1);
        const int expected = play < asked.size() ? asked[play] : 0;
        if (first != expected) wrong += w.frames;
        else if (last != expected) wrong += w.first + w.frames - kSamplesPerFrame * toc.trackEnd(expected);
    }
    std::sort(gaps.begin(), gaps.end());
    std::printf("%s: %zu track changes\n", name, gaps.size());
    if (!gaps.empty())
        std::printf("  silence at a change: median %.1f ms, max %.1f ms (target under 300 ms)\n", gaps[gaps.size() / 2],
                    gaps.back());
    std::printf("  audio of a wrong track: %lld samples (%.3f s; target none)\n", static_cast<long long>(wrong),
                static_cast<double>(wrong) / kSampleRate);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString cue = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                 : QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/demo/demo.cue");
    Writes writes;
    CdioDriveOptions options;
    options.pcm.device = "bench";
    options.pcm.configText = "pcm.bench { type file slave.pcm { type null } file \"/dev/null\" format \"raw\" }";
    options.observer = &writes;
    QString error;
    std::shared_ptr<CdDrive> drive = openCdioDrive(cue, std::make_shared<SteadyClock>(), &error, options);
    if (!drive) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const DiscToc toc = *drive->toc();
    std::printf("disc: %s, %d tracks; output: %s\n", qPrintable(cue), toc.lastTrack(), options.pcm.describe().c_str());

    MciInterpreter interpreter([drive] { return drive; });
    Asked asked(interpreter);
    RecordingMessageBoxes boxes;
    MciChannel channel(asked, boxes);
    QTemporaryDir dir;
    DiscDatabase database(dir.filePath(QStringLiteral("Velmora.ini")));
    PlayerCore core(channel, database);
    channel.SendMCIString(QStringLiteral("open cdaudio alias cd wait shareable"), true);
    channel.SendMCIString(QStringLiteral("set cd time format tmsf wait"), true);
    core.session.setSeekStep(5);
    core.identity.identifyDisc();
    core.refresh.UpdateDisplay();
    core.session.tmrUpdate()->start();

    // Runs the event loop until `done` or `limitMs` have passed.
    auto runUntil = [&](auto done, int limitMs) {
        const auto until = Steady::now() + std::chrono::milliseconds(limitMs);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &app, [&] {
            if (done() || Steady::now() >= until) app.quit();
        });
        poll.start(50);
        app.exec();
    };
    const auto discSeconds = (toc.leadoutFrame - toc.tracks.front().startFrame) / kFramesPerSecond;

    // 1. Shuffle, to the stop.
    core.transport.SetPlayModes({Repeat::Off, true, false});
    core.transport.Play();
    runUntil([&] { return !core.session.state().Playing && !core.watch.watching(); }, (discSeconds + 30) * 1000);
    report("shuffle", toc, writes.take(), std::exchange(asked.tracks, {}));

    // 2. Repeat the shortest track, four times.
    int shortest = toc.firstTrack();
    for (const TocTrack& t : toc.tracks)
        if (toc.trackEnd(t.number) - t.startFrame < toc.trackEnd(shortest) - toc.track(shortest)->startFrame)
            shortest = t.number;
    core.transport.SetPlayModes({Repeat::Track, false, false});
    core.transport.GoToTrack(shortest);
    asked.tracks = {shortest};
    core.transport.Play();
    const int length = (toc.trackEnd(shortest) - toc.track(shortest)->startFrame) * 1000 / kFramesPerSecond;
    runUntil([] { return false; }, 4 * length - length / 2);
    core.transport.Stop();
    report("repeat track", toc, writes.take(), std::exchange(asked.tracks, {}));

    // 3. Repeat the disc: from the last track over the disc's end into the first.
    const int last = toc.lastTrack();
    core.transport.SetPlayModes({Repeat::Disc, false, false});
    core.transport.GoToTrack(last);
    asked.tracks = {last};
    core.transport.Play();
    runUntil([] { return false; }, (toc.leadoutFrame - toc.track(last)->startFrame) * 1000 / kFramesPerSecond + 3000);
    core.transport.Stop();
    report("repeat disc", toc, writes.take(), asked.tracks);
    return 0;
}
