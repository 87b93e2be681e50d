#include "app_fixture.h"

#include "chrome/status_bar.h"
#include "player/transport.h"

#include <QAbstractButton>
#include <QLabel>

using namespace velmora;
using namespace velmora::test;

using PlaybackTest = AppFixture;

namespace {
void click(FrmCdplayer& w, const char* name) {
    auto* button = w.findChild<QAbstractButton*>(QLatin1String(name));
    ASSERT_NE(button, nullptr) << name;
    ASSERT_TRUE(button->isEnabled()) << name;
    button->click();
}
}  // namespace

TEST_F(PlaybackTest, PlayingDiscCountsOnTheReadoutAndTheBar) {
    start();
    EXPECT_EQ(leds(), "010000");
    click(*window, "cmdPlay");
    clock->advanceMs(65'000);
    tick();
    EXPECT_EQ(leds(), "010105");
    EXPECT_EQ(window->controls().StatusBar->widthTwips(), 65 * 1670 / 250);
    EXPECT_FALSE(window->controls().cmdPlay->isEnabled());
    EXPECT_TRUE(window->controls().cmdStop->isEnabled());

    clock->advanceMs(250'000);  // into track 2
    tick();
    EXPECT_EQ(leds(), "020105");
}

TEST_F(PlaybackTest, StopThenPlayRestartsTheTrack) {
    start();
    click(*window, "cmdPlay");
    clock->advanceMs(4 * 250'000 + 30'000);  // 30 s into track 5
    tick();
    ASSERT_EQ(window->state().CurrentTrack, 5);
    click(*window, "cmdStop");
    EXPECT_EQ(window->controls().tmrUpdate->interval(), 3000);
    EXPECT_EQ(leds(), "050000");
    click(*window, "cmdPlay");
    clock->advanceMs(2'000);
    tick();
    EXPECT_EQ(leds(), "050002");
    EXPECT_EQ(window->controls().tmrUpdate->interval(), 1000);
}

TEST_F(PlaybackTest, NextOnTheLastTrackOnlyRefreshes) {
    start();
    click(*window, "cmdPlay");
    clock->advanceMs(11 * 250'000 + 5'000);
    tick();
    ASSERT_EQ(window->state().CurrentTrack, 12);
    recording.sent.clear();
    click(*window, "cmdForwardTrack");
    EXPECT_EQ(recording.sent.front(), "status cd media present");
    EXPECT_TRUE(window->state().Playing);
}

TEST_F(PlaybackTest, RewindPastTheStartIsRefusedAndPlayingGoesOn) {
    start();
    click(*window, "cmdPlay");
    clock->advanceMs(1'000);  // 3001 ms from the disc start
    tick();
    click(*window, "cmdRR");
    EXPECT_TRUE(boxes.shown.empty());
    clock->advanceMs(1'000);
    tick();
    EXPECT_EQ(leds(), "010002");
    EXPECT_TRUE(window->state().Playing);

    click(*window, "cmdFF");
    clock->advanceMs(1'000);
    tick();
    EXPECT_EQ(leds(), "010008");
}

TEST_F(PlaybackTest, DiscPlaysToItsEndAndStopsByItself) {
    drive->insert(audioDisc(2, 10));
    start();
    click(*window, "cmdPlay");
    clock->advanceMs(25'000);
    tick();
    EXPECT_FALSE(window->state().Playing);
    EXPECT_TRUE(window->controls().cmdPlay->isEnabled());
}

TEST_F(PlaybackTest, DiscChangesAreSeenThroughAnEmptyDrive) {
    start();
    const QString firstId = window->state().CurrentDisc.ID;
    ASSERT_FALSE(firstId.isEmpty());

    // Swapped between two ticks: not noticed.
    drive->remove();
    drive->insert(audioDisc(7, 200));
    tick();
    EXPECT_EQ(window->state().CurrentDisc.ID, firstId);

    drive->remove();
    tick();
    EXPECT_TRUE(window->state().CurrentDisc.ID.isEmpty());
    EXPECT_EQ(window->controls().lblArtist->text(), "No Disc Loaded");
    EXPECT_FALSE(window->controls().cmdPlay->isEnabled());
    EXPECT_TRUE(window->findChild<QAbstractButton*>(QStringLiteral("cmdEject"))->isEnabled());

    drive->insert(audioDisc(7, 200));
    tick();
    EXPECT_FALSE(window->state().CurrentDisc.ID.isEmpty());
    EXPECT_NE(window->state().CurrentDisc.ID, firstId);
    EXPECT_EQ(window->state().NumTracks, 7);
    EXPECT_TRUE(window->controls().cmdPlay->isEnabled());
}

TEST_F(PlaybackTest, DataDiscAndEjectTray) {
    DiscToc data;
    data.tracks = {{1, 150, false}};
    data.leadoutFrame = 30000;
    drive->insert(data);
    start();
    EXPECT_EQ(window->controls().lblArtist->text(), "Data CD Loaded");
    EXPECT_FALSE(window->controls().cmdPlay->isEnabled());

    click(*window, "cmdEject");
    EXPECT_TRUE(recording.wasSent("set cd door open"));
    tick();
    EXPECT_EQ(window->controls().lblArtist->text(), "No Disc Loaded");
    recording.sent.clear();
    click(*window, "cmdEject");
    EXPECT_TRUE(recording.wasSent("set cd door closed"));
    tick();
    EXPECT_EQ(window->controls().lblArtist->text(), "Data CD Loaded");
}

TEST_F(PlaybackTest, EmptyDriveAtStartUp) {
    drive->remove();
    start();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(window->controls().lblArtist->text(), "No Disc Loaded");
    EXPECT_FALSE(window->controls().cmdPlay->isEnabled());
    EXPECT_FALSE(window->controls().mnuPlay->isEnabled());
}

TEST_F(PlaybackTest, NinetyNineTrackDisc) {
    drive->insert(audioDisc(99, 40));
    start();
    EXPECT_EQ(window->state().NumTracks, 99);
    EXPECT_EQ(window->state().CurrentDisc.ID.right(2), "63");
    click(*window, "cmdPlay");
    clock->advanceMs(98 * 40'000 + 12'000);
    tick();
    EXPECT_EQ(leds(), "990012");
}
