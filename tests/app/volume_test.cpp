#include "app_fixture.h"
#include "chrome/volume_knob.h"
#include "fake_mixer_volume.h"

#include <QLabel>
#include <QTest>

using namespace velmora;
using namespace velmora::test;
using velmora::testing::FakeMixerVolume;

namespace {

// The knob and the mute images of the main window, on a mixer in memory.
class VolumeTest : public AppFixture {
protected:
    VolumeTest() {
        mixer = [this] {
            auto m = std::make_unique<FakeMixerVolume>();
            m->mainVolume = 20000;
            fake = m.get();
            return m;
        };
        start();
        EXPECT_TRUE(loaded);
    }

    VolumeKnob* knob() { return window->findChild<VolumeKnob*>(QStringLiteral("sldMain")); }
    QLabel* image(const char* name) { return window->findChild<QLabel*>(QLatin1String(name)); }
    void poll() { window->volume().poll(); }
    void expectMutedImage(bool muted) {
        EXPECT_EQ(image("imgUnmute")->isVisible(), muted);
        EXPECT_EQ(image("imgMute")->isVisible(), !muted);
    }

    FakeMixerVolume* fake = nullptr;
};

}  // namespace

// Start-up's poll comes before the window shows: the design state holds until the first
// tick. Then the poll copies the mixer in without writing back and leaves a held knob
// alone; turning the knob writes.
TEST_F(VolumeTest, PollsShowTheMixerAndTheKnobWritesIt) {
    ASSERT_NE(knob(), nullptr);
    EXPECT_EQ(knob()->toolTip(), "Volume");
    EXPECT_EQ(fake, nullptr);
    EXPECT_EQ(knob()->value(), 0);
    expectMutedImage(false);

    poll();
    ASSERT_NE(fake, nullptr);
    EXPECT_EQ(knob()->value(), 20000);
    for (const auto& [volume, muted] : {std::pair{65535, true}, std::pair{0, false}}) {
        fake->mainVolume = volume;
        fake->mainMute = muted;
        poll();
        EXPECT_EQ(knob()->value(), volume);
        expectMutedImage(muted);
    }
    EXPECT_EQ(fake->volumeWrites + fake->muteWrites, 0);

    knob()->setSliderDown(true);
    fake->mainVolume = 60000;
    poll();
    EXPECT_EQ(knob()->value(), 0);
    knob()->setSliderDown(false);
    poll();
    EXPECT_EQ(knob()->value(), 60000);

    knob()->setValue(1234);
    EXPECT_EQ(fake->mainVolume, 1234);
    EXPECT_EQ(fake->volumeWrites, 1);
}

TEST_F(VolumeTest, MuteClicksSwapImagesAtOnceButOnlyALeftClickReleasedOverTheImage) {
    poll();
    FakeMixerVolume& m = *fake;
    QTest::mouseClick(image("imgMute"), Qt::RightButton);
    QTest::mousePress(image("imgMute"), Qt::LeftButton);
    QTest::mouseRelease(image("imgMute"), Qt::LeftButton, {}, QPoint(60, 60));  // dragged off
    EXPECT_EQ(m.muteWrites, 0);
    expectMutedImage(false);

    QTest::mouseClick(image("imgMute"), Qt::LeftButton);
    EXPECT_TRUE(m.mainMute);
    expectMutedImage(true);
    QTest::mouseClick(image("imgUnmute"), Qt::LeftButton);
    EXPECT_FALSE(m.mainMute);
    expectMutedImage(false);

    // The images follow the mixer, not the click: a mute that does not take leaves them be.
    m.stuckMute = true;
    QTest::mouseClick(image("imgMute"), Qt::LeftButton);
    EXPECT_EQ(m.muteWrites, 3);
    expectMutedImage(false);
}

// No usable mixer: knob at 0 with its LED dark, muted image; turning it changes nothing.
TEST_F(VolumeTest, NoMixerShowsZeroWithTheLedDarkAndMuted) {
    poll();
    fake->available = false;
    poll();
    EXPECT_EQ(knob()->value(), 0);
    EXPECT_TRUE(knob()->isUnavailable());
    expectMutedImage(true);
    knob()->setValue(100);
    poll();
    EXPECT_EQ(knob()->value(), 0);

    fake->available = true;
    poll();
    EXPECT_FALSE(knob()->isUnavailable());
    EXPECT_EQ(knob()->value(), 20000);
}
