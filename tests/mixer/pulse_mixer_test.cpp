// The mixer, and the player's master volume on it, against a PulseAudio server of the test's own with a
// null sink named "own".
#include "mixer/alsa_mixer_volume.h"
#include "mixer/mixer_scale.h"
#include "mixer/master_volume.h"
#include "mixer_test_support.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace velmora {
namespace {

using velmora::testing::commandOutput;
using velmora::testing::openDescriptorCount;

constexpr long kServerMax = 65536;  // the server's 100 %, the top of "Master"

// A server the test stops and starts at will. While it lives, this process and the pactl it
// runs talk to it alone, with a cookie of its own rather than the user's.
class OwnServer {
public:
    OwnServer() {
        for (const char* name : {"PULSE_SERVER", "PULSE_COOKIE"}) saved_.emplace_back(name, qgetenv(name));
        qputenv("PULSE_SERVER", "unix:" + (dir_ + "/native").toLocal8Bit());
        qputenv("PULSE_COOKIE", (dir_ + "/cookie").toLocal8Bit());
    }
    ~OwnServer() {
        stop();
        for (const auto& [name, value] : saved_) value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }

    bool start() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", dir_);
        env.insert("HOME", dir_);
        env.insert("PULSE_STATE_PATH", dir_ + "/state");
        process_.setProcessEnvironment(env);
        process_.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                                      "--use-pid-file=no", "--log-target=file:" + dir_ + "/server.log", "-L",
                                      "module-native-protocol-unix socket=" + dir_ + "/native auth-anonymous=1", "-L",
                                      "module-null-sink sink_name=own"});
        if (!process_.waitForStarted(5000)) return false;
        for (int i = 0; i < 100; ++i) {
            if (commandOutput("pactl info")) return true;
            QThread::msleep(100);
        }
        return false;
    }
    void stop() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    // The sink's first channel, raw; -1 when pactl does not tell.
    long volume() {
        const auto out = commandOutput("pactl get-sink-volume own");
        std::smatch match;
        if (out && std::regex_search(*out, match, std::regex(R"(:\s*(\d+)\s*/)"))) return std::stol(match[1]);
        return -1;
    }
    bool muted() { return commandOutput("pactl get-sink-mute own").value_or("").find("yes") != std::string::npos; }
    bool set(const std::string& what, long value) {
        return commandOutput("pactl set-sink-" + what + " own " + std::to_string(value)).has_value();
    }

private:
    QTemporaryDir tmp_;
    const QString dir_ = tmp_.path();
    QProcess process_;
    std::vector<std::pair<const char*, QByteArray>> saved_;
};

bool serverTools() {
    return !QStandardPaths::findExecutable("pulseaudio").isEmpty() &&
           !QStandardPaths::findExecutable("pactl").isEmpty();
}

// Writes land on the sink and the sink's changes are read; the server has no CD line. Gone,
// it reads as no mixer; back, it is used again, on the same number of descriptors.
TEST(PulseMixer, DrivesTheSinkAndFollowsTheServerGoingAwayAndComingBack) {
    if (!serverTools()) GTEST_SKIP() << "needs pulseaudio and pactl";
    OwnServer server;
    ASSERT_TRUE(server.start()) << "the test's own server did not start";
    AlsaMixerVolume mixer("pulse");

    EXPECT_EQ(mixer.CDVolume(), -1);
    EXPECT_TRUE(mixer.CDMute());
    mixer.setCDVolume(0);
    mixer.setCDMute(true);
    EXPECT_EQ(server.volume(), kServerMax);
    EXPECT_FALSE(server.muted());

    mixer.setMainVolume(49151);
    mixer.setMainMute(true);
    EXPECT_EQ(server.volume(), mixer_scale::toElement(49151, 0, kServerMax));
    EXPECT_TRUE(server.muted());
    ASSERT_TRUE(server.set("volume", kServerMax / 4) && server.set("mute", 0));
    EXPECT_EQ(mixer.MainVolume(), 16384);
    EXPECT_FALSE(mixer.MainMute());
    const int descriptors = openDescriptorCount();

    server.stop();
    EXPECT_EQ(mixer.MainVolume(), -1);
    EXPECT_TRUE(mixer.MainMute());
    mixer.setMainVolume(30000);
    EXPECT_EQ(mixer.MainVolume(), -1);

    // A new server at its own 100 %: read afresh, and writes reach it.
    ASSERT_TRUE(server.start());
    EXPECT_EQ(mixer.MainVolume(), 65535);
    mixer.setMainVolume(32768);
    EXPECT_EQ(server.volume(), mixer_scale::toElement(32768, 0, kServerMax));
    EXPECT_EQ(mixer.MainVolume(), 32768);
    EXPECT_EQ(openDescriptorCount(), descriptors);
}

// The master volume on the real mixer: the poll brings the sink's volume in, a write drives it.
TEST(PulseMixer, MasterVolumeFollowsAndDrivesTheSink) {
    if (!serverTools()) GTEST_SKIP() << "needs pulseaudio and pactl";
    OwnServer server;
    ASSERT_TRUE(server.start() && server.set("volume", kServerMax / 4));
    MasterVolume master([] { return std::make_unique<AlsaMixerVolume>("pulse"); });
    master.poll();
    EXPECT_EQ(master.volume(), 16384);
    master.setVolume(8192);
    EXPECT_EQ(server.volume(), mixer_scale::toElement(8192, 0, kServerMax));
}

}  // namespace
}  // namespace velmora
