// The playback engine with readers that misbehave as real drives do.
#include "cdio_test_support.h"

#include "platform/audio/playback_engine.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include <atomic>
#include <cstdlib>

namespace velmora {
namespace {

using namespace cdiotest;

// One track from frame 150; frames from `gone` on have no disc, [damagedFrom, damagedTo) are damaged.
class FakeReader final : public SectorReader {
public:
    int gone = 1 << 30;
    int damagedFrom = 0, damagedTo = 0;

    SectorReadResult read(int frame, int count, std::uint8_t* out) override {
        if (frame + count > gone) return SectorReadResult::NoMedia;
        bool damaged = false;
        for (int f = frame; f < frame + count; ++f) {
            auto* s = reinterpret_cast<std::int16_t*>(out + std::size_t(f - frame) * kSectorBytes);
            const bool bad = f >= damagedFrom && f < damagedTo;
            damaged = damaged || bad;
            for (int i = 0; i < 588; ++i) {
                s[2 * i] = bad ? 0 : leftOf(f);
                s[2 * i + 1] = bad ? 0 : rightOf(i);
            }
        }
        return damaged ? SectorReadResult::Damaged : SectorReadResult::Ok;
    }
    std::string lastError() const override { return "The disc was removed while playing"; }
};

class AudioEngine : public ::testing::Test {
protected:
    QString out() const { return dir_.path() + "/out.raw"; }
    bool runUntilStopped(PlaybackEngine& engine) {
        return runClockUntil(*clock_, [&] { return engine.snapshot().state == EngineState::Stopped; });
    }
    QTemporaryDir dir_;
    std::shared_ptr<ManualClock> clock_ = std::make_shared<ManualClock>();
};

TEST_F(AudioEngine, DiscPulledOutStopsPlaybackWithNotReady) {
    auto reader = std::make_shared<FakeReader>();
    reader->gone = 400;
    PlaybackEngine engine(fileOutput(out()), clock_);
    ASSERT_EQ(engine.play({{150, 2000}}, reader), DriveError::None);
    ASSERT_TRUE(runUntilStopped(engine));
    const EngineSnapshot s = engine.snapshot();
    EXPECT_EQ(s.error, DriveError::NotReady);
    EXPECT_LE(s.positionFrame, 400);
    EXPECT_NE(engine.lastError().find("removed"), std::string::npos);
    // What did play was the disc's own audio, from the start.
    const auto samples = readSamples(out());
    EXPECT_EQ(expectRun(samples, 0, 150 * 588, static_cast<long long>(samples.size() / 2)), "");
    // A stop clears the failure, and so does the next play.
    engine.stop(150);
    EXPECT_EQ(engine.snapshot().error, DriveError::None);
    ASSERT_EQ(engine.play({{150, 2000}}, reader), DriveError::None);
    ASSERT_TRUE(runUntilStopped(engine));
    EXPECT_EQ(engine.snapshot().error, DriveError::NotReady);
    reader->gone = 1 << 30;
    ASSERT_EQ(engine.play({{150, 160}}, reader), DriveError::None);
    EXPECT_EQ(engine.snapshot().error, DriveError::None);
}

TEST_F(AudioEngine, DamagedSectorsPlayAsSilenceAndPlaybackGoesOn) {
    auto reader = std::make_shared<FakeReader>();
    reader->damagedFrom = 170;
    reader->damagedTo = 173;
    PlaybackEngine engine(fileOutput(out()), clock_);
    ASSERT_EQ(engine.play({{150, 200}}, reader), DriveError::None);
    ASSERT_TRUE(runUntilStopped(engine));
    EXPECT_EQ(engine.snapshot().error, DriveError::None);
    EXPECT_EQ(engine.snapshot().positionFrame, 200);
    ASSERT_TRUE(waitFor([&] { return outputFrames(out()) == 50 * 588; }));
    const auto samples = readSamples(out());
    EXPECT_EQ(expectRun(samples, 0, 150 * 588, 20 * 588), "");
    for (long long k = 20 * 588; k < 23 * 588; ++k) ASSERT_EQ(samples[2 * k], 0) << k;
    EXPECT_EQ(expectRun(samples, 23 * 588, 173 * 588, 27 * 588), "");
}

// A device that plays in real time holds a second (tools/with-pulse.sh's server) not yet heard.
double secondsSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

// How long after arm() the device's audio was dropped, and the first sample written after.
struct Heard final : PlaybackEngine::OutputObserver {
    std::atomic<std::chrono::steady_clock::time_point> armedAt{};
    std::atomic<double> discardedAfter{-1};
    std::atomic<std::int64_t> firstAfterDiscard{-1};
    void written(std::int64_t first, long) override {
        std::int64_t none = -1;
        if (discardedAfter >= 0) firstAfterDiscard.compare_exchange_strong(none, first);
    }
    void discarded() override {
        double none = -1;
        discardedAfter.compare_exchange_strong(none, secondsSince(armedAt));
    }
    void arm() {
        armedAt = std::chrono::steady_clock::now();
        discardedAfter = -1;
        firstAfterDiscard = -1;
    }
};

class PacedEngine : public ::testing::Test {
protected:
    void SetUp() override {
        const char* server = std::getenv("VELMORA_PULSE_SERVER");
        if (!server || !*server) GTEST_SKIP() << "no sound server; run the suite through tools/with-pulse.sh";
        target_.device = "paced";
        target_.configText = std::string("pcm.paced { type pulse server \"") + server + "\" }";
    }
    PcmTarget target_;
};

TEST_F(PacedEngine, PositionIsWhatWasHeardAndPauseAndSeekDropTheBuffer) {
    constexpr int kStart = 150, kSeekTo = 150 + 60 * 75, kEnd = 150 + 120 * 75;
    auto reader = std::make_shared<FakeReader>();
    Heard heard;  // outlives the engine's threads, which tell it from outside the lock
    PlaybackEngine engine(target_, std::make_shared<SteadyClock>());
    engine.setOutputObserver(&heard);
    auto at = [&](int from) { return (engine.snapshot().positionFrame - from) / 75.0; };
    // Seconds heard past `from`, once past `past`; falling behind on a loaded machine is no fault.
    auto heardPast = [&](int from, double past) {
        const auto since = std::chrono::steady_clock::now();
        const double before = at(from);
        EXPECT_TRUE(waitFor([&] { return at(from) >= past; })) << "the position does not move";
        const double now = at(from);
        EXPECT_LE(now - before, secondsSince(since) + 0.15) << "the position counts audio still queued";
        return now;
    };
    // The device's audio was dropped at once, and new audio begins `expectAt` seconds past `from`.
    auto expectRestartAt = [&](int from, double expectAt) {
        ASSERT_TRUE(waitFor([&] { return heard.discardedAfter >= 0; }));
        EXPECT_LT(heard.discardedAfter, 0.8) << "the queued second was played out instead of dropped";
        ASSERT_TRUE(waitFor([&] { return heard.firstAfterDiscard >= 0; }));
        EXPECT_NEAR((heard.firstAfterDiscard / 588 - from) / 75.0, expectAt, 0.05) << "new audio from there";
        heardPast(from, expectAt + 0.1);
    };

    ASSERT_EQ(engine.play({{kStart, kEnd}}, reader), DriveError::None) << engine.lastError();
    heardPast(kStart, 0.1);
    const double heardBefore = heardPast(kStart, 0.6);

    heard.arm();
    engine.pause();
    const double paused = at(kStart);
    EXPECT_NEAR(paused, heardBefore, 0.25) << "paused where it was heard";
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(at(kStart), paused) << "stays put";
    engine.resume();
    expectRestartAt(kStart, paused);

    heard.arm();
    engine.stop(kSeekTo);
    ASSERT_EQ(engine.play({{kSeekTo, kEnd}}, reader), DriveError::None);
    EXPECT_NEAR(at(kSeekTo), 0, 0.25) << "right after the seek";
    expectRestartAt(kSeekTo, 0);
}

// A sound server of the test's own (as tools/with-pulse.sh starts one), to kill and start again.
class OwnSoundServer {
public:
    explicit OwnSoundServer(const QString& dir) : dir_(dir) {
        QDir().mkpath(dir_ + "/runtime");
        QDir().mkpath(dir_ + "/home");
    }
    ~OwnSoundServer() { kill(); }
    QString address() const { return "unix:" + dir_ + "/native"; }

    bool start() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", dir_ + "/runtime");
        env.insert("HOME", dir_ + "/home");
        env.insert("PULSE_STATE_PATH", dir_ + "/home/state");
        server_.setProcessEnvironment(env);
        server_.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                                     "--log-target=file:" + dir_ + "/server.log", "-L",
                                     "module-native-protocol-unix socket=" + dir_ + "/native auth-anonymous=1", "-L",
                                     "module-null-sink", "-L", "module-always-sink"});
        if (!server_.waitForStarted(5000)) return false;
        env.insert("PULSE_SERVER", address());
        env.insert("PULSE_COOKIE", dir_ + "/cookie");
        return waitFor(
            [&] {
                QProcess info;
                info.setProcessEnvironment(env);
                info.start("pactl", {"info"});
                return info.waitForFinished(2000) && info.exitCode() == 0;
            },
            10000);
    }
    void kill() {
        server_.kill();
        server_.waitForFinished();
    }

private:
    QString dir_;
    QProcess server_;
};

TEST(SoundServerGone, PlaybackStopsWhereItWasSaysWhyOnceAndPlaysOnWhenTheServerIsBack) {
    QTemporaryDir dir;
    OwnSoundServer server(dir.path());
    if (!server.start()) GTEST_SKIP() << "no pulseaudio to start";
    PcmTarget target;
    target.device = "own";
    target.configText = "pcm.own { type pulse server \"" + server.address().toStdString() + "\" }";
    PlaybackEngine engine(target, std::make_shared<SteadyClock>());
    auto reader = std::make_shared<FakeReader>();
    constexpr int kEnd = 150 + 60 * 75;
    ASSERT_EQ(engine.play({{150, kEnd}}, reader), DriveError::None) << engine.lastError();
    ASSERT_TRUE(waitFor([&] { return engine.snapshot().positionFrame >= 150 + 40; }));

    const int before = engine.snapshot().positionFrame;
    server.kill();
    ASSERT_TRUE(waitFor([&] { return engine.snapshot().state == EngineState::Stopped; }));
    const int stoppedAt = engine.snapshot().positionFrame;
    EXPECT_GE(stoppedAt, before);
    EXPECT_LE(stoppedAt, before + 2 * 75) << "stopped where it was heard";
    const EngineFailure failure = engine.failure();
    EXPECT_EQ(failure.count, 1u);
    EXPECT_EQ(failure.error, DriveError::NoSoundDevice);
    EXPECT_EQ(failure.detail.rfind("The sound output stopped: ", 0), 0u) << failure.detail;

    EXPECT_EQ(engine.play({{stoppedAt, kEnd}}, reader), DriveError::NoSoundDevice) << "no server yet";
    ASSERT_TRUE(server.start());
    ASSERT_EQ(engine.play({{stoppedAt, kEnd}}, reader), DriveError::None) << engine.lastError();
    EXPECT_TRUE(waitFor([&] { return engine.snapshot().positionFrame >= stoppedAt + 20; }));
    EXPECT_EQ(engine.failure().count, 1u);
}

}  // namespace
}  // namespace velmora
