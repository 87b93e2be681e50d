#include "app_fixture.h"

#include "chrome/popup_menu.h"
#include "chrome/status_bar.h"

#include <QAction>
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

    drive->insert(audioDisc(7, 200));
    tick();
    EXPECT_EQ(state().NumTracks, 7);
    EXPECT_TRUE(controls().cmdPlay->isEnabled());

    drive->remove();
    tick();
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

TEST_F(PlaybackTest, EachKeyAndMenuItemActsAsItsButton) {
    start();
    window->activateWindow();
    const PopupMenu& menu = window->popupMenu();
    auto key = [this](QKeySequence k) { return std::function<void()>([this, k] { QTest::keySequence(window, k); }); };
    auto item = [](QAction* a) { return std::function<void()>([a] { a->trigger(); }); };
    const struct {
        const char* what;
        std::function<void()> act;
        std::string firstCommand;  // empty: the button is disabled, nothing is sent
    } cases[] = {
        {"S, stopped", key(Qt::Key_S), ""},
        {"Space", key(Qt::Key_Space), "play cd"},
        {"Right", key(Qt::Key_Right), "set cd time format milliseconds"},
        {"Left", key(Qt::Key_Left), "set cd time format milliseconds"},
        {"PageDown", key(Qt::Key_PageDown), "play cd from 2"},
        {"PageUp", key(Qt::Key_PageUp), "play cd from 2"},  // 10 s in: restarts the track
        {"Next", item(menu.mnuNext), "play cd from 3"},
        {"Previous", item(menu.mnuPrev), "play cd from 3"},
        {"Space, playing", key(Qt::Key_Space), "pause cd"},
        {"Play", item(menu.mnuPlay), "play cd"},
        {"Pause", item(menu.mnuPause), "pause cd"},
        {"Play again", item(menu.mnuPlay), "play cd"},
        {"Stop", item(menu.mnuStop), "stop cd wait"},
        {"E", key(Qt::Key_E), "status cd mode"},
        {"Eject", item(menu.mnuEject), "status cd mode"},
    };
    for (const auto& tc : cases) EXPECT_EQ(firstCommandOf(tc.act), tc.firstCommand) << tc.what;
    EXPECT_TRUE(recording.wasSent("set cd door closed"));  // the second eject, after the first opened it
    QTest::keySequence(window, QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(programEnded, 1);
}
