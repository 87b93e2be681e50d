// The mixer and the volume controls against a real sound server: the private PulseAudio
// with a null sink that tools/with-pulse.sh starts. Skipped when the suite runs without it.
#include "mixer/alsa_mixer_volume.h"
#include "mixer/mixer_scale.h"
#include "mixer/volume_controls.h"
#include "mixer_test_support.h"

#include <gtest/gtest.h>

#include <QDial>
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

// The server has no CD line: it reads as missing, and writing to it leaves the master alone.
// What the mixer writes to the master lands on the sink, and what others change there it reads.
TEST_F(PulseMixer, MasterFollowsTheSinkAndTheCdLineIsMissing) {
    EXPECT_EQ(mixer_.CDVolume(), -1);
    EXPECT_TRUE(mixer_.CDMute());
    mixer_.setCDVolume(0);
    mixer_.setCDMute(true);
    EXPECT_EQ(PulseServer::volume(), kServerMax / 2);
    EXPECT_FALSE(PulseServer::muted());

    mixer_.setMainVolume(49151);
    mixer_.setMainMute(true);
    EXPECT_EQ(PulseServer::volume(), mixer_scale::toElement(49151, 0, kServerMax));
    EXPECT_TRUE(PulseServer::muted());
    PulseServer::setVolume(kServerMax / 4);
    PulseServer::setMuted(false);
    EXPECT_EQ(mixer_.MainVolume(), 16384);
    EXPECT_FALSE(mixer_.MainMute());
}

// The controls on the real mixer: the poll brings the server's volume in, the knob drives it.
TEST_F(PulseMixer, VolumeControlsFollowAndDriveTheServer) {
    QWidget window;
    window.show();
    VolumeControls controls(&window, [] { return std::make_unique<AlsaMixerVolume>(); });
    PulseServer::setVolume(kServerMax / 4);
    controls.tmrVolume_Timer();
    EXPECT_EQ(controls.sldMain()->value(), 16384);
    controls.sldMain()->setValue(8192);
    EXPECT_EQ(PulseServer::volume(), mixer_scale::toElement(8192, 0, kServerMax));
}

}  // namespace
}  // namespace velmora
