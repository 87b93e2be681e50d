#include "mixer/alsa_mixer_volume.h"
#include "mixer_test_support.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstdio>
#include <filesystem>

namespace velmora {
namespace {

// Devices that do not exist: a name ALSA does not know and a card number no machine has.
const char* const kMissingDevices[] = {"velmora_no_such_device", "hw:97"};

class MissingMixer : public ::testing::TestWithParam<const char*> {};

TEST_P(MissingMixer, ReadsGiveMinusOneAndTrue) {
    AlsaMixerVolume mixer(GetParam());
    EXPECT_EQ(mixer.MainVolume(), -1);
    EXPECT_TRUE(mixer.MainMute());
    EXPECT_EQ(mixer.CDVolume(), -1);
    EXPECT_TRUE(mixer.CDMute());
}

TEST_P(MissingMixer, WritesDoNothingAndLeaveArgumentsAlone) {
    AlsaMixerVolume mixer(GetParam());
    std::int32_t volume = 70000;
    bool mute = false;
    mixer.setMainVolume(volume);
    mixer.setMainMute(mute);
    mixer.setCDVolume(volume);
    mixer.setCDMute(mute);
    EXPECT_EQ(volume, 70000);
    EXPECT_FALSE(mute);
    EXPECT_EQ(mixer.MainVolume(), -1);
    EXPECT_TRUE(mixer.MainMute());
}

INSTANTIATE_TEST_SUITE_P(Devices, MissingMixer, ::testing::ValuesIn(kMissingDevices), [](const auto& info) {
    std::string name;
    for (const char* c = info.param; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
});

// Hours of polling must not pile up descriptors: every access closes what it opened.
TEST(AlsaMixerDescriptors, FlatOverHundredThousandAccessesOfMissingDevice) {
    AlsaMixerVolume mixer("velmora_no_such_device");
    mixer.MainVolume();  // ALSA reads its configuration once; that is not a leak
    const int before = velmora::testing::openDescriptorCount();
    for (int i = 0; i < 25000; ++i) {
        mixer.MainVolume();
        mixer.MainMute();
        std::int32_t v = i & 0xFFFF;
        mixer.setMainVolume(v);
        bool m = (i & 1) != 0;
        mixer.setMainMute(m);
    }
    EXPECT_EQ(velmora::testing::openDescriptorCount(), before);
}

// With no sound card and no reachable server, "default" has no mixer at all, and ALSA's
// complaints about it stay off the terminal. ALSA settles what "default" is when a process
// first reads its configuration, so this runs in a fresh process of its own.
[[maybe_unused]] const bool probeMode = [] {
    if (!std::getenv("VELMORA_MIXER_PROBE")) return false;
    AlsaMixerVolume mixer;  // "default"
    std::int32_t volume = 1000;
    bool mute = false;
    mixer.setMainVolume(volume);
    mixer.setMainMute(mute);
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
