#include "app_fixture.h"

#include "chrome/status_bar.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

using PlaybackTest = AppFixture;


TEST_F(PlaybackTest, PlayingDiscCountsOnTheReadoutAndTheBar) {
    start();
    EXPECT_EQ(leds(), "010000");
    click("cmdPlay");
    clock->advanceMs(65'000);
    tick();
    EXPECT_EQ(leds(), "010105");
    EXPECT_EQ(controls().StatusBar->widthTwips(), 65 * 1670 / 250);
    EXPECT_FALSE(controls().cmdPlay->isEnabled());
    EXPECT_TRUE(controls().cmdStop->isEnabled());

    clock->advanceMs(250'000);  // into track 2
    tick();
    EXPECT_EQ(leds(), "020105");
}

TEST_F(PlaybackTest, StopThenPlayRestartsTheTrack) {
    start();
    click("cmdPlay");
    clock->advanceMs(4 * 250'000 + 30'000);  // 30 s into track 5
    tick();
    ASSERT_EQ(state().CurrentTrack, 5);
    click("cmdStop");
    EXPECT_EQ(session().tmrUpdate()->interval(), 3000);
    EXPECT_EQ(leds(), "050000");
    click("cmdPlay");
    clock->advanceMs(2'000);
    tick();
    EXPECT_EQ(leds(), "050002");
    EXPECT_EQ(session().tmrUpdate()->interval(), 1000);
}

TEST_F(PlaybackTest, NextOnTheLastTrackOnlyRefreshes) {
    start();
    click("cmdPlay");
    clock->advanceMs(11 * 250'000 + 5'000);
    tick();
    ASSERT_EQ(state().CurrentTrack, 12);
    recording.sent.clear();
    click("cmdForwardTrack");
    EXPECT_EQ(recording.sent.front(), "status cd media present");
    EXPECT_TRUE(state().Playing);
}

TEST_F(PlaybackTest, RewindPastTheStartIsRefusedAndPlayingGoesOn) {
    start();
    click("cmdPlay");
    clock->advanceMs(1'000);  // 3001 ms from the disc start
    tick();
    click("cmdRR");
    EXPECT_TRUE(boxes.shown.empty());
    clock->advanceMs(1'000);
    tick();
    EXPECT_EQ(leds(), "010002");
    EXPECT_TRUE(state().Playing);

    click("cmdFF");
    clock->advanceMs(1'000);
    tick();
    EXPECT_EQ(leds(), "010008");
}

TEST_F(PlaybackTest, DiscPlaysToItsEndAndStopsByItself) {
    drive->insert(audioDisc(2, 10));
    start();
    click("cmdPlay");
    clock->advanceMs(25'000);
    tick();
    EXPECT_FALSE(state().Playing);
    EXPECT_TRUE(controls().cmdPlay->isEnabled());
}

TEST_F(PlaybackTest, DiscChangesAreSeenThroughAnEmptyDrive) {
    start();
    const QString firstId = session().disc().ID;
    ASSERT_FALSE(firstId.isEmpty());

    // Swapped between two ticks: not noticed.
    drive->remove();
    drive->insert(audioDisc(7, 200));
    tick();
    EXPECT_EQ(session().disc().ID, firstId);

    drive->remove();
    tick();
    EXPECT_TRUE(session().disc().ID.isEmpty());
    EXPECT_EQ(controls().lblArtist->text(), "No Disc Loaded");
    EXPECT_FALSE(controls().cmdPlay->isEnabled());
    EXPECT_TRUE(window->findChild<QAbstractButton*>(QStringLiteral("cmdEject"))->isEnabled());

    drive->insert(audioDisc(7, 200));
    tick();
    EXPECT_FALSE(session().disc().ID.isEmpty());
    EXPECT_NE(session().disc().ID, firstId);
    EXPECT_EQ(state().NumTracks, 7);
    EXPECT_TRUE(controls().cmdPlay->isEnabled());
}

TEST_F(PlaybackTest, DataDiscAndEjectTray) {
    DiscToc data;
    data.tracks = {{1, 150, false}};
    data.leadoutFrame = 30000;
    drive->insert(data);
    start();
    EXPECT_EQ(controls().lblArtist->text(), "Data CD Loaded");
    EXPECT_FALSE(controls().cmdPlay->isEnabled());

    click("cmdEject");
    EXPECT_TRUE(recording.wasSent("set cd door open"));
    tick();
    EXPECT_EQ(controls().lblArtist->text(), "No Disc Loaded");
    recording.sent.clear();
    click("cmdEject");
    EXPECT_TRUE(recording.wasSent("set cd door closed"));
    tick();
    EXPECT_EQ(controls().lblArtist->text(), "Data CD Loaded");
}

TEST_F(PlaybackTest, EmptyDriveAtStartUp) {
    drive->remove();
    start();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(controls().lblArtist->text(), "No Disc Loaded");
    EXPECT_FALSE(controls().cmdPlay->isEnabled());
    EXPECT_FALSE(controls().mnuPlay->isEnabled());
}

TEST_F(PlaybackTest, NinetyNineTrackDisc) {
    drive->insert(audioDisc(99, 40));
    start();
    EXPECT_EQ(state().NumTracks, 99);
    EXPECT_EQ(session().disc().ID.right(2), "63");
    click("cmdPlay");
    clock->advanceMs(98 * 40'000 + 12'000);
    tick();
    EXPECT_EQ(leds(), "990012");
}

TEST_F(PlaybackTest, EachKeyActsAsItsButton) {
    start();
    window->activateWindow();
    struct Case {
        QKeySequence key;
        std::string firstCommand;  // empty: the key's button is disabled, nothing is sent
    } cases[] = {
        {Qt::Key_S, ""},  // stopped: Stop is disabled
        {Qt::Key_Space, "play cd"},
        {Qt::Key_Right, "set cd time format milliseconds"},
        {Qt::Key_Left, "set cd time format milliseconds"},
        {Qt::Key_PageDown, "play cd from 2"},
        {Qt::Key_PageUp, "play cd from 2"},  // 10 s in: restarts the track
        {Qt::Key_Space, "pause cd"},
        {Qt::Key_E, "status cd mode"},
    };
    for (const auto& tc : cases) {
        clock->advanceMs(10'000);
        tick();
        recording.sent.clear();
        QTest::keySequence(window, tc.key);
        if (tc.firstCommand.empty()) {
            EXPECT_TRUE(recording.sent.empty()) << tc.key.toString().toStdString();
        } else {
            ASSERT_FALSE(recording.sent.empty()) << tc.key.toString().toStdString();
            EXPECT_EQ(recording.sent.front(), tc.firstCommand) << tc.key.toString().toStdString();
        }
    }
    EXPECT_TRUE(recording.wasSent("set cd door open"));
    QTest::keySequence(window, QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(programEnded, 1);
}
