#include "app_fixture.h"

#include "chrome/status_bar.h"

#include <QLabel>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

using PlaybackTest = AppFixture;

TEST_F(PlaybackTest, PlayingDiscCountsOnTheReadoutTheBarAndTheEnables) {
    start();
    EXPECT_EQ(leds(), "010000");
    EXPECT_FALSE(controls().cmdStop->isEnabled());
    playFor(65'000);
    EXPECT_EQ(leds(), "010105");
    EXPECT_EQ(controls().StatusBar->widthTwips(), 65 * 1670 / 250);
    EXPECT_FALSE(controls().cmdPlay->isEnabled());
    EXPECT_FALSE(controls().mnuPlay->isEnabled());
    for (QWidget* w : {controls().cmdStop, controls().cmdPause, controls().cmdFF, controls().cmdRR})
        EXPECT_TRUE(w->isEnabled());
    advance(250'000);  // into track 2
    EXPECT_EQ(leds(), "020105");
}

// From an empty drive at start-up, through an audio and a data disc, to the tray's door.
TEST_F(PlaybackTest, DiscChangesAreSeenThroughAnEmptyDriveAndTheTray) {
    drive->remove();
    start();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(controls().lblArtist->text(), "No Disc Loaded");
    EXPECT_FALSE(controls().cmdPlay->isEnabled());
    EXPECT_FALSE(controls().mnuPlay->isEnabled());

    drive->insert(audioDisc(7, 200));
    tick();
    EXPECT_FALSE(session().disc().ID.isEmpty());
    EXPECT_EQ(state().NumTracks, 7);
    EXPECT_TRUE(controls().cmdPlay->isEnabled());

    drive->remove();
    tick();
    EXPECT_TRUE(session().disc().ID.isEmpty());
    EXPECT_EQ(controls().lblArtist->text(), "No Disc Loaded");

    DiscToc data;
    data.tracks = {{1, 150, false}};
    data.leadoutFrame = 30000;
    drive->insert(data);
    tick();
    EXPECT_EQ(controls().lblArtist->text(), "Data CD Loaded");
    EXPECT_FALSE(controls().cmdPlay->isEnabled());
    click("cmdEject");
    EXPECT_TRUE(recording.wasSent("set cd door open"));
    tick();
    EXPECT_EQ(controls().lblArtist->text(), "No Disc Loaded");
    click("cmdEject");  // enabled with no disc
    EXPECT_TRUE(recording.wasSent("set cd door closed"));
    tick();
    EXPECT_EQ(controls().lblArtist->text(), "Data CD Loaded");
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
    for (const auto& tc : cases)
        EXPECT_EQ(firstCommandOf([&] { QTest::keySequence(window, tc.key); }), tc.firstCommand)
            << tc.key.toString().toStdString();
    EXPECT_TRUE(recording.wasSent("set cd door open"));
    QTest::keySequence(window, QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(programEnded, 1);
}
