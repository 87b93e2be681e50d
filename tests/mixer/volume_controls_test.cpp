#include "mixer/volume_controls.h"
#include "mixer/volume_knob.h"
#include "mixer_test_support.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDial>
#include <QLabel>
#include <QTest>
#include <QWidget>

namespace velmora {
namespace {

using velmora::testing::FakeMixerVolume;

class VolumeControlsTest : public ::testing::Test {
protected:
    VolumeControlsTest() {
        controls_ = std::make_unique<VolumeControls>(&window_, [this] {
            ++mixersMade_;
            auto mixer = std::make_unique<FakeMixerVolume>();
            mixer->mainVolume = 20000;
            fake_ = mixer.get();
            return mixer;
        });
    }

    // The fake as the controls hold it; made on the first poll, so poll first.
    FakeMixerVolume& fake() {
        if (!fake_) {
            window_.show();
            controls_->tmrVolume_Timer();
        }
        return *fake_;
    }
    void expectMutedImage(bool muted) {
        EXPECT_EQ(controls_->imgUnmute()->isVisible(), muted);
        EXPECT_EQ(controls_->imgMute()->isVisible(), !muted);
    }

    QWidget window_;
    std::unique_ptr<VolumeControls> controls_;
    FakeMixerVolume* fake_ = nullptr;
    int mixersMade_ = 0;
};

// No mixer is made or read before the window shows (the design state holds), nor while hidden;
// shown, the timer polls on its own.
TEST_F(VolumeControlsTest, TheTimerPollsOnlyAVisibleWindow) {
    controls_->tmrVolume_Timer();  // the start-up run, window not yet shown
    EXPECT_EQ(mixersMade_, 0);
    EXPECT_FALSE(controls_->imgUnmute()->isVisibleTo(&window_));
    EXPECT_TRUE(controls_->imgMute()->isVisibleTo(&window_));
    EXPECT_EQ(controls_->sldMain()->value(), 0);

    FakeMixerVolume& m = fake();
    window_.hide();
    const int reads = m.reads;
    m.mainVolume = 50000;
    m.mainMute = true;
    controls_->tmrVolume_Timer();
    EXPECT_EQ(m.reads, reads);
    window_.show();
    QDeadlineTimer deadline(3 * VolumeControls::kPollIntervalMs);
    while (!deadline.hasExpired() && controls_->sldMain()->value() != 50000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(controls_->sldMain()->value(), 50000);
    expectMutedImage(true);
}

// The poll copies the mixer in without writing back and leaves a held knob alone; turning writes.
TEST_F(VolumeControlsTest, PollReadsTheMixerAndTheKnobWritesIt) {
    FakeMixerVolume& m = fake();
    EXPECT_EQ(controls_->sldMain()->value(), 20000);
    const std::pair<std::int32_t, bool> states[] = {{65535, true}, {0, false}};
    for (const auto& [volume, muted] : states) {
        m.mainVolume = volume;
        m.mainMute = muted;
        controls_->tmrVolume_Timer();
        EXPECT_EQ(controls_->sldMain()->value(), volume);
        expectMutedImage(muted);
    }
    EXPECT_EQ(m.volumeWrites, 0);
    EXPECT_EQ(m.muteWrites, 0);
    EXPECT_EQ(mixersMade_, 1);

    controls_->sldMain()->setSliderDown(true);
    m.mainVolume = 60000;
    controls_->tmrVolume_Timer();
    EXPECT_EQ(controls_->sldMain()->value(), 0);
    controls_->sldMain()->setSliderDown(false);
    controls_->tmrVolume_Timer();
    EXPECT_EQ(controls_->sldMain()->value(), 60000);

    controls_->sldMain()->setValue(1234);
    EXPECT_EQ(m.mainVolume, 1234);
    EXPECT_EQ(m.volumeWrites, 1);
}

TEST_F(VolumeControlsTest, MuteClicksSwapImagesAtOnceButOnlyALeftClickReleasedOverTheImage) {
    FakeMixerVolume& m = fake();
    QTest::mouseClick(controls_->imgMute(), Qt::RightButton);
    QTest::mousePress(controls_->imgMute(), Qt::LeftButton);
    QTest::mouseRelease(controls_->imgMute(), Qt::LeftButton, {}, QPoint(60, 60));  // dragged off
    EXPECT_EQ(m.muteWrites, 0);
    expectMutedImage(false);

    QTest::mouseClick(controls_->imgMute(), Qt::LeftButton);
    EXPECT_TRUE(m.mainMute);
    expectMutedImage(true);
    QTest::mouseClick(controls_->imgUnmute(), Qt::LeftButton);
    EXPECT_FALSE(m.mainMute);
    expectMutedImage(false);
    EXPECT_EQ(m.muteWrites, 2);

    // The images follow the mixer, not the click: a mute that does not take leaves them be.
    m.stuckMute = true;
    QTest::mouseClick(controls_->imgMute(), Qt::LeftButton);
    EXPECT_EQ(m.muteWrites, 3);
    expectMutedImage(false);
}

// No usable mixer, or none at all: knob at 0 with its LED dark, muted image.
TEST_F(VolumeControlsTest, NoMixerShowsZeroAndMuted) {
    FakeMixerVolume& m = fake();
    m.available = false;
    controls_->tmrVolume_Timer();
    EXPECT_EQ(controls_->sldMain()->value(), 0);
    EXPECT_TRUE(controls_->knob()->isUnavailable());
    expectMutedImage(true);
    m.available = true;
    controls_->tmrVolume_Timer();
    EXPECT_FALSE(controls_->knob()->isUnavailable());

    VolumeControls none(&window_, [] { return std::unique_ptr<CMixerVolume>(); });
    none.tmrVolume_Timer();
    none.sldMain()->setValue(100);
    EXPECT_TRUE(none.knob()->isUnavailable());
}

}  // namespace
}  // namespace velmora
