#include "mixer/alsa_mixer_volume.h"
#include "mixer_test_support.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace velmora {
namespace {

using velmora::testing::openDescriptorCount;

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
    child.setProcessEnvironment(env);
    child.start(QString::fromLocal8Bit(std::filesystem::read_symlink("/proc/self/exe").c_str()), {});
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_EQ(child.readAllStandardOutput().trimmed().toStdString(), "main -1 1 cd -1 1");
    EXPECT_EQ(child.readAllStandardError().toStdString(), "");
}

}  // namespace
}  // namespace velmora
