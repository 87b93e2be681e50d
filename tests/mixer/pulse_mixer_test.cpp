// The mixer and the volume controls against a real sound server: the private PulseAudio
// with a null sink that tools/with-pulse.sh starts. Skipped when the suite runs without it.
#include "mixer/alsa_mixer_volume.h"
#include "mixer/mixer_scale.h"
#include "mixer/volume_controls.h"
#include "mixer/volume_knob.h"
#include "mixer_test_support.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDial>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

namespace velmora {
namespace {

using velmora::testing::PulseLock;
using velmora::testing::PulseServer;

constexpr long kServerMax = 65536;  // the server's 100 %, the top of "Master"

class PulseMixer : public ::testing::Test {
protected:
    void SetUp() override {
        if (PulseServer::sink().empty())
            GTEST_SKIP() << "no PulseAudio server for this run; run the suite through tools/with-pulse.sh";
        if (!PulseServer::reachable())
            GTEST_SKIP() << "the PulseAudio server named by VELMORA_PULSE_SERVER does not answer";
        lock_ = std::make_unique<PulseLock>();
        PulseServer::setVolume(kServerMax / 2);
        PulseServer::setMuted(false);
        if (mixer_.MainVolume() < 0)
            FAIL() << "ALSA's \"default\" device shows no Master on the running server "
                      "(is libasound2-plugins installed?)";
    }

    static void click(QWidget* widget) {
        const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
        const QPointF global = widget->mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &release);
    }

    std::unique_ptr<PulseLock> lock_;
    AlsaMixerVolume mixer_;
};

TEST_F(PulseMixer, VolumeWritesLandOnTheSinkAndChangesElsewhereAreRead) {
    for (std::int32_t v : {0, 1, 16384, 32768, 49151, 65534, 65535}) {
        std::int32_t argument = v;
        mixer_.setMainVolume(argument);
        EXPECT_EQ(argument, v);
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
        bool argument = mute;
        mixer_.setMainMute(argument);
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
    std::int32_t volume = 0;
    bool mute = true;
    mixer_.setCDVolume(volume);
    mixer_.setCDMute(mute);
    EXPECT_EQ(PulseServer::volume(), kServerMax / 2);
    EXPECT_FALSE(PulseServer::muted());
}

TEST_F(PulseMixer, DescriptorsStayFlat) {
    mixer_.MainVolume();
    const int before = velmora::testing::openDescriptorCount();
    // Each access is a round trip to the server, so a thousand here (a leak would show as
    // hundreds of descriptors); the hundred thousand run against a missing device in
    // AlsaMixerDescriptors.
    for (int i = 0; i < 250; ++i) {
        std::int32_t v = (i * 131) & 0xFFFF;
        mixer_.setMainVolume(v);
        mixer_.MainVolume();
        bool m = (i & 1) != 0;
        mixer_.setMainMute(m);
        mixer_.MainMute();
    }
    EXPECT_EQ(velmora::testing::openDescriptorCount(), before);
}

class PulseControls : public PulseMixer {
protected:
    void SetUp() override {
        PulseMixer::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        window_.resize(460, 161);
        window_.show();
        controls_ = std::make_unique<VolumeControls>(&window_, [] { return std::make_unique<AlsaMixerVolume>(); });
        controls_->tmrVolume_Timer();
    }

    QWidget window_;
    std::unique_ptr<VolumeControls> controls_;
};

// Both ways through the real mixer: the poll brings the server's changes in, not written
// back; the knob and the images drive the server.
TEST_F(PulseControls, PollFollowsTheServerAndTheControlsDriveIt) {
    EXPECT_EQ(controls_->sldMain()->value(), 32768);
    EXPECT_TRUE(controls_->imgMute()->isVisible());
    PulseServer::setVolume(kServerMax / 4);
    PulseServer::setMuted(true);
    controls_->tmrVolume_Timer();
    EXPECT_EQ(controls_->sldMain()->value(), 16384);
    EXPECT_TRUE(controls_->imgUnmute()->isVisible());
    EXPECT_FALSE(controls_->imgMute()->isVisible());
    EXPECT_EQ(PulseServer::volume(), kServerMax / 4);

    controls_->sldMain()->setValue(65535);
    EXPECT_EQ(PulseServer::volume(), kServerMax);
    controls_->sldMain()->setValue(8192);
    EXPECT_EQ(PulseServer::volume(), mixer_scale::toElement(8192, 0, kServerMax));
    click(controls_->imgUnmute());
    EXPECT_FALSE(PulseServer::muted());
    EXPECT_TRUE(controls_->imgMute()->isVisible());
    click(controls_->imgMute());
    EXPECT_TRUE(PulseServer::muted());
    EXPECT_TRUE(controls_->imgUnmute()->isVisible());
    EXPECT_FALSE(controls_->imgMute()->isVisible());
}

}  // namespace
}  // namespace velmora
