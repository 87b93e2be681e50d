#include "mixer/volume_controls.h"
#include "chrome/face_layout.h"
#include "mixer/volume_knob.h"
#include "mixer_test_support.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDial>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

namespace velmora {
namespace {

using velmora::testing::FakeMixerVolume;

class VolumeControlsTest : public ::testing::Test {
protected:
    VolumeControlsTest() {
        window_.resize(face::kWidth, face::kHeight);
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

    static void click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton, QPointF releaseAt = {-1, -1}) {
        const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
        if (releaseAt.x() < 0) releaseAt = at;
        QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, releaseAt, widget->mapToGlobal(releaseAt), button,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &release);
    }

    QWidget window_;
    std::unique_ptr<VolumeControls> controls_;
    FakeMixerVolume* fake_ = nullptr;
    int mixersMade_ = 0;
};

TEST_F(VolumeControlsTest, ControlsSitOnTheFaceWithTheirNames) {
    EXPECT_EQ(window_.findChild<QDial*>("sldMain"), controls_->sldMain());
    EXPECT_EQ(window_.findChild<QLabel*>("imgMute"), controls_->imgMute());
    EXPECT_EQ(window_.findChild<QLabel*>("imgUnmute"), controls_->imgUnmute());
    EXPECT_EQ(window_.findChild<QTimer*>("tmrVolume"), controls_->tmrVolume());

    EXPECT_EQ(controls_->sldMain()->geometry(), face::kVolumeKnob);
    EXPECT_EQ(controls_->imgMute()->geometry(), face::kMute);
    EXPECT_EQ(controls_->imgUnmute()->geometry(), face::kMute);
    EXPECT_EQ(controls_->sldMain()->minimum(), 0);
    EXPECT_EQ(controls_->sldMain()->maximum(), 65535);
    EXPECT_EQ(controls_->sldMain()->toolTip(), "Volume");
    EXPECT_EQ(controls_->imgMute()->toolTip(), "Mute Volume");
    EXPECT_EQ(controls_->imgUnmute()->toolTip(), "Un-Mute Volume");
    EXPECT_EQ(controls_->imgMute()->pixmap().size(), QSize(19, 20));
    EXPECT_EQ(controls_->imgUnmute()->pixmap().size(), QSize(19, 20));
    EXPECT_EQ(controls_->tmrVolume()->interval(), 2000);
    EXPECT_TRUE(controls_->tmrVolume()->isActive());
}

// Before the first poll: the design state, one image, no mixer made.
TEST_F(VolumeControlsTest, DesignStateUntilFirstVisiblePoll) {
    controls_->tmrVolume_Timer();  // the start-up run, window not yet shown
    EXPECT_EQ(mixersMade_, 0);
    EXPECT_FALSE(controls_->imgUnmute()->isVisibleTo(&window_));
    EXPECT_TRUE(controls_->imgMute()->isVisibleTo(&window_));
    EXPECT_EQ(controls_->sldMain()->value(), 0);
}

TEST_F(VolumeControlsTest, PollCopiesMixerIntoControlsWithoutWritingBack) {
    FakeMixerVolume& m = fake();
    EXPECT_EQ(mixersMade_, 1);
    EXPECT_EQ(controls_->sldMain()->value(), 20000);

    struct Case {
        std::int32_t volume;
        bool muted;
    };
    const Case cases[] = {{0, false}, {65535, true}, {32768, false}, {1, true}};
    for (const Case& c : cases) {
        m.mainVolume = c.volume;
        m.mainMute = c.muted;
        controls_->tmrVolume_Timer();
        EXPECT_EQ(controls_->sldMain()->value(), c.volume);
        EXPECT_EQ(controls_->imgUnmute()->isVisible(), c.muted);
        EXPECT_EQ(controls_->imgMute()->isVisible(), !c.muted);
    }
    EXPECT_EQ(m.volumeWrites, 0);
    EXPECT_EQ(m.muteWrites, 0);
    EXPECT_EQ(mixersMade_, 1);
}

TEST_F(VolumeControlsTest, HiddenWindowIsNotPolled) {
    FakeMixerVolume& m = fake();
    window_.hide();
    const int reads = m.reads;
    m.mainVolume = 50000;
    m.mainMute = true;
    controls_->tmrVolume_Timer();
    EXPECT_EQ(m.reads, reads);
    EXPECT_EQ(controls_->sldMain()->value(), 20000);

    window_.show();
    controls_->tmrVolume_Timer();
    EXPECT_EQ(controls_->sldMain()->value(), 50000);
    EXPECT_TRUE(controls_->imgUnmute()->isVisible());
}

TEST_F(VolumeControlsTest, TurningTheKnobWritesItsValue) {
    FakeMixerVolume& m = fake();
    const std::int32_t values[] = {65535, 0, 1234, 32768};
    for (std::int32_t v : values) {
        controls_->sldMain()->setValue(v);
        ASSERT_TRUE(m.lastVolumeWritten.has_value());
        EXPECT_EQ(*m.lastVolumeWritten, v);
    }
    EXPECT_EQ(m.volumeWrites, 4);
}

TEST_F(VolumeControlsTest, MuteClicksSwapImagesAtOnceButOnlyALeftClickReleasedOverTheImage) {
    FakeMixerVolume& m = fake();
    click(controls_->imgMute(), Qt::RightButton);
    click(controls_->imgMute(), Qt::LeftButton, QPointF(60, 60));  // dragged off before release
    EXPECT_EQ(m.muteWrites, 0);
    EXPECT_TRUE(controls_->imgMute()->isVisible());

    click(controls_->imgMute());
    EXPECT_TRUE(m.mainMute);
    EXPECT_TRUE(controls_->imgUnmute()->isVisible());
    EXPECT_FALSE(controls_->imgMute()->isVisible());

    click(controls_->imgUnmute());
    EXPECT_FALSE(m.mainMute);
    EXPECT_TRUE(controls_->imgMute()->isVisible());
    EXPECT_FALSE(controls_->imgUnmute()->isVisible());
    EXPECT_EQ(m.muteWrites, 2);
}

// The images follow the mixer, not the click: a mute that does not take leaves them be.
TEST_F(VolumeControlsTest, ClickWhoseWriteFailsLeavesImages) {
    window_.show();
    // A mixer that ignores writes but still reads (a line whose switch will not move).
    struct StuckMixer : FakeMixerVolume {
        void setMainMute(const bool&) override { ++muteWrites; }
    };
    auto stuck = std::make_unique<StuckMixer>();
    StuckMixer* s = stuck.get();
    VolumeControls other(&window_, [&stuck] { return std::move(stuck); });
    other.tmrVolume_Timer();
    click(other.imgMute());
    EXPECT_EQ(s->muteWrites, 1);
    EXPECT_TRUE(other.imgMute()->isVisible());
    EXPECT_FALSE(other.imgUnmute()->isVisible());
}

// No usable mixer, or a factory giving none: the knob rests at 0 with its LED dark, the
// muted image shows, and the controls keep working without effect.
TEST_F(VolumeControlsTest, NoMixerShowsZeroAndMuted) {
    FakeMixerVolume& m = fake();
    m.available = false;
    controls_->tmrVolume_Timer();
    EXPECT_EQ(controls_->sldMain()->value(), 0);
    EXPECT_TRUE(controls_->knob()->isUnavailable());
    EXPECT_TRUE(controls_->imgUnmute()->isVisible());
    EXPECT_EQ(m.volumeWrites, 0);

    click(controls_->imgUnmute());
    EXPECT_TRUE(controls_->imgUnmute()->isVisible());

    m.available = true;
    controls_->tmrVolume_Timer();
    EXPECT_FALSE(controls_->knob()->isUnavailable());

    VolumeControls none(&window_, [] { return std::unique_ptr<CMixerVolume>(); });
    none.tmrVolume_Timer();
    none.sldMain()->setValue(100);
    EXPECT_TRUE(none.imgUnmute()->isVisible());
    EXPECT_TRUE(none.knob()->isUnavailable());
}

// A knob held by the user is not pulled away by the poll.
TEST_F(VolumeControlsTest, PollLeavesAKnobBeingDraggedAlone) {
    FakeMixerVolume& m = fake();
    controls_->sldMain()->setSliderDown(true);
    m.mainVolume = 60000;
    controls_->tmrVolume_Timer();
    EXPECT_EQ(controls_->sldMain()->value(), 20000);
    controls_->sldMain()->setSliderDown(false);
    controls_->tmrVolume_Timer();
    EXPECT_EQ(controls_->sldMain()->value(), 60000);
}

TEST_F(VolumeControlsTest, TimerPolls) {
    FakeMixerVolume& m = fake();
    m.mainVolume = 44444;
    QDeadlineTimer deadline(3 * VolumeControls::kPollIntervalMs);
    while (!deadline.hasExpired() && controls_->sldMain()->value() != 44444)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(controls_->sldMain()->value(), 44444);
}

}  // namespace
}  // namespace velmora
