#include "mixer/alsa_mixer_volume.h"
#include "mixer/mixer_scale.h"
#include "mixer_test_support.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace velmora {
namespace {

int openDescriptorCount() {
    const std::filesystem::directory_iterator fds("/proc/self/fd");
    return static_cast<int>(std::distance(begin(fds), end(fds)));
}

// A device that does not exist: reads -1 and true, writes ignored, no descriptors piling up.
TEST(MissingMixer, ReadsGiveMinusOneAndTrueAndWritesDoNothing) {
    AlsaMixerVolume mixer("velmora_no_such_device");
    mixer.MainVolume();  // ALSA reads its configuration once; that is not a leak
    const int before = openDescriptorCount();
    for (int i = 0; i < 25000; ++i) {
        mixer.setMainVolume(i);
        mixer.setMainMute((i & 1) != 0);
        ASSERT_EQ(mixer.MainVolume(), -1);
        ASSERT_TRUE(mixer.MainMute());
    }
    EXPECT_EQ(openDescriptorCount(), before);
}

// A server the test stops and starts at will: the mixer keeps its device open and must notice.
class OwnServer {
public:
    ~OwnServer() { stop(); }
    std::string address() const { return "unix:" + (dir_ + "/native").toStdString(); }

    bool start() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", dir_);
        env.insert("HOME", dir_);
        env.insert("PULSE_STATE_PATH", dir_ + "/state");
        process_.setProcessEnvironment(env);
        process_.start("pulseaudio",
                       {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "--use-pid-file=no",
                        "--log-target=file:" + dir_ + "/server.log", "-L",
                        "module-native-protocol-unix socket=" + dir_ + "/native auth-anonymous=1", "-L",
                        "module-null-sink sink_name=own"});
        if (!process_.waitForStarted(5000)) return false;
        for (int i = 0; i < 100; ++i) {
            if (velmora::testing::PulseServer::run("pactl -s '" + address() + "' info")) return true;
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
    long volume() { return velmora::testing::PulseServer::volume(address(), "own"); }

private:
    QTemporaryDir tmp_;
    const QString dir_ = tmp_.path();
    QProcess process_;
};

// Gone: no value; back: the new server's values and writes; the same descriptors throughout.
TEST(AlsaMixerKeptDevice, FollowsTheServerGoingAwayAndComingBack) {
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty() || QStandardPaths::findExecutable("pactl").isEmpty())
        GTEST_SKIP() << "needs pulseaudio and pactl";
    OwnServer server;
    ASSERT_TRUE(server.start()) << "the test's own server did not start";
    const QByteArray saved = qgetenv("PULSE_SERVER");
    const auto restore =
        qScopeGuard([&] { saved.isNull() ? qunsetenv("PULSE_SERVER") : qputenv("PULSE_SERVER", saved); });
    qputenv("PULSE_SERVER", QByteArray::fromStdString(server.address()));

    AlsaMixerVolume mixer("pulse");
    mixer.setMainVolume(16384);
    EXPECT_EQ(mixer.MainVolume(), 16384);
    const int descriptors = openDescriptorCount();

    server.stop();
    EXPECT_EQ(mixer.MainVolume(), -1);
    EXPECT_TRUE(mixer.MainMute());
    mixer.setMainVolume(30000);
    EXPECT_EQ(mixer.MainVolume(), -1);

    // A new server at its own 100 %: read afresh, and writes reach it.
    ASSERT_TRUE(server.start());
    EXPECT_EQ(mixer.MainVolume(), 65535);
    EXPECT_FALSE(mixer.MainMute());
    mixer.setMainVolume(32768);
    EXPECT_EQ(server.volume(), mixer_scale::toElement(32768, 0, 65536));
    EXPECT_EQ(mixer.MainVolume(), 32768);
    EXPECT_EQ(openDescriptorCount(), descriptors);
}

// No sound card, no server: "default" has no mixer and ALSA keeps quiet about it. ALSA settles
// what "default" is on its first read of the configuration, hence a fresh process.
[[maybe_unused]] const bool probeMode = [] {
    if (!std::getenv("VELMORA_MIXER_PROBE")) return false;
    AlsaMixerVolume mixer;  // "default"
    mixer.setMainVolume(1000);
    mixer.setMainMute(false);
    std::printf("main %d %d cd %d %d\n", mixer.MainVolume(), int(mixer.MainMute()), mixer.CDVolume(),
                int(mixer.CDMute()));
    std::fflush(stdout);
    _exit(0);
}();

TEST(AlsaMixerWithoutSound, DefaultDeviceHasNoMixerAndStaysQuiet) {
    if (std::filesystem::exists("/dev/snd"))
        GTEST_SKIP() << "this machine has a sound card, so \"default\" is a real mixer";
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VELMORA_MIXER_PROBE", "1");
    env.insert("PULSE_SERVER", "unix:/nonexistent/velmora/pulse/native");
    env.remove("VELMORA_PULSE_SERVER");
    child.setProcessEnvironment(env);
    child.start(QString::fromLocal8Bit(std::filesystem::read_symlink("/proc/self/exe").c_str()), {});
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_EQ(child.readAllStandardOutput().trimmed().toStdString(), "main -1 1 cd -1 1");
    EXPECT_EQ(child.readAllStandardError().toStdString(), "");
}

}  // namespace
}  // namespace velmora
