// The mixer and the volume controls against a real sound server: the private PulseAudio
// with a null sink that tools/with-pulse.sh starts. Skipped when the suite runs without it.
#include "mixer/alsa_mixer_volume.h"
#include "mixer/mixer_scale.h"
#include "mixer/volume_controls.h"
#include "mixer_test_support.h"

#include <gtest/gtest.h>

#include <QDial>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

namespace velmora {
namespace {

using velmora::testing::PulseServer;

constexpr long kServerMax = 65536;  // the server's 100 %, the top of "Master"

class PulseMixer : public ::testing::Test {
protected:
    void SetUp() override {
        if (PulseServer::sink().empty() || !PulseServer::run("pactl info"))
            GTEST_SKIP() << "no PulseAudio server answers; run the suite through tools/with-pulse.sh";
        // Suites running side by side take turns with the one sink.
        if (const char* lock = std::getenv("VELMORA_PULSE_LOCK"); lock && *lock) {
            lockFd_ = ::open(lock, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
            if (lockFd_ >= 0) ::flock(lockFd_, LOCK_EX);
        }
        PulseServer::setVolume(kServerMax / 2);
        PulseServer::setMuted(false);
        if (mixer_.MainVolume() < 0)
            FAIL() << "ALSA's \"default\" device shows no Master on the running server "
                      "(is libasound2-plugins installed?)";
    }

    void TearDown() override {
        if (lockFd_ >= 0) ::close(lockFd_);
    }

    int lockFd_ = -1;
    AlsaMixerVolume mixer_;
};

TEST_F(PulseMixer, VolumeWritesLandOnTheSinkAndChangesElsewhereAreRead) {
    for (std::int32_t v : {0, 1, 16384, 32768, 49151, 65534, 65535}) {
        mixer_.setMainVolume(v);
        EXPECT_EQ(PulseServer::volume(), mixer_scale::toElement(v, 0, kServerMax)) << "knob " << v;
        EXPECT_EQ(mixer_.MainVolume(), v);
    }
    const std::pair<long, std::int32_t> elsewhere[] = {
        {0, 0},
        {kServerMax / 4, 16384},      // 16384 * 65535 / 65536 = 16383.75
        {kServerMax / 2, 32768},      // 32767.5 rounds up
        {kServerMax, 65535},
        {kServerMax * 3 / 2, 65535},  // over 100 %: the knob's top
    };
    for (const auto& [raw, expected] : elsewhere) {
        PulseServer::setVolume(raw);
        EXPECT_EQ(mixer_.MainVolume(), expected) << "server volume " << raw;
    }
}

TEST_F(PulseMixer, MuteWritesLandAndChangesElsewhereAreRead) {
    PulseServer::setMuted(true);
    EXPECT_TRUE(mixer_.MainMute());
    for (bool mute : {false, true}) {
        mixer_.setMainMute(mute);
        EXPECT_EQ(PulseServer::muted(), mute);
        EXPECT_EQ(mixer_.MainMute(), mute);
    }
    PulseServer::setMuted(false);
    EXPECT_FALSE(mixer_.MainMute());
}

// The server has no CD line: it reads as missing, and writing to it leaves the master alone.
TEST_F(PulseMixer, CdLineIsMissing) {
    EXPECT_EQ(mixer_.CDVolume(), -1);
    EXPECT_TRUE(mixer_.CDMute());
    mixer_.setCDVolume(0);
    mixer_.setCDMute(true);
    EXPECT_EQ(PulseServer::volume(), kServerMax / 2);
    EXPECT_FALSE(PulseServer::muted());
}

// Through the real mixer: the poll brings the server's changes in, the knob and images drive it.
TEST_F(PulseMixer, VolumeControlsFollowAndDriveTheServer) {
    QWidget window;
    window.show();
    VolumeControls controls(&window, [] { return std::make_unique<AlsaMixerVolume>(); });
    PulseServer::setVolume(kServerMax / 4);
    PulseServer::setMuted(true);
    controls.tmrVolume_Timer();
    EXPECT_EQ(controls.sldMain()->value(), 16384);
    EXPECT_TRUE(controls.imgUnmute()->isVisible());

    controls.sldMain()->setValue(8192);
    EXPECT_EQ(PulseServer::volume(), mixer_scale::toElement(8192, 0, kServerMax));
    QTest::mouseClick(controls.imgUnmute(), Qt::LeftButton);
    EXPECT_FALSE(PulseServer::muted());
    QTest::mouseClick(controls.imgMute(), Qt::LeftButton);
    EXPECT_TRUE(PulseServer::muted());
}

}  // namespace
}  // namespace velmora
