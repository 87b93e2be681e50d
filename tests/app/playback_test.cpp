#include "app_fixture.h"

#include "chrome/popup_menu.h"
#include "chrome/status_bar.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};
}  // namespace

using PlaybackTest = AppFixture;

TEST_F(PlaybackTest, PlayingDiscCountsOnTheReadoutTheBarAndTheEnables) {
    start();
    EXPECT_EQ(leds(), "010000");
    EXPECT_FALSE(controls().cmdStop->isEnabled());
    click("cmdPlay");
    advance(65'000);
    EXPECT_EQ(leds(), "010105");
    EXPECT_EQ(controls().StatusBar->widthTwips(), 65 * 1670 / 250);
    EXPECT_FALSE(controls().cmdPlay->isEnabled());
    EXPECT_FALSE(window->popupMenu().mnuPlay->isEnabled());
    for (QWidget* w : {controls().cmdStop, controls().cmdPause, controls().cmdFF, controls().cmdRR})
        EXPECT_TRUE(w->isEnabled());
    advance(9 * 250'000 - 64'000);  // track 10, 0:01
    EXPECT_EQ(leds(), "100001");
    window->view().ShowTrackNumber("07");
    window->view().ShowTrackTime("12345");  // minutes past 99: the last four characters show
    EXPECT_EQ(leds(), "072345");
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

TEST_F(PlaybackTest, LabelsSayWhenNoDiscIsLoadedShowTheRecordAndAreNotRepaintedWhenUnchanged) {
    drive->remove();
    start();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(controls().lblArtist->text(), "No Disc Loaded");
    EXPECT_FALSE(controls().cmdPlay->isEnabled());
    EXPECT_TRUE(boxes.shown.empty());

    drive->insert(audioDisc(25, 250));
    tick();
    DiscRecord disc = session().disc();
    disc.Title = QStringLiteral("Album");
    disc.Artist = QStringLiteral("Band");
    for (int n = 1; n <= 30; ++n) disc.track(n) = QStringLiteral("Song %1").arg(n);
    session().takeEditedDisc(disc.ID, disc);
    EXPECT_EQ(controls().lblCDName->text(), "Album");
    EXPECT_EQ(controls().lblCDName->toolTip(), "Album");
    EXPECT_EQ(controls().lblArtist->text(), "Band");
    EXPECT_EQ(controls().lblTrk->text(), "Song 1");

    // Titles past the twentieth track show; the unchanged disc title is not repainted each second.
    PaintCounter counter;
    controls().lblCDName->installEventFilter(&counter);
    click("cmdPlay");
    advance(20 * 250'000 + 3'000);
    advance(1'000);
    QCoreApplication::processEvents();
    ASSERT_EQ(state().CurrentTrack, 21);
    EXPECT_EQ(controls().lblTrk->text(), "Song 21");
    EXPECT_EQ(counter.paints, 0);
}

TEST_F(PlaybackTest, TrackPickerTogglesRebuildsAndLeavesItsButtonsClickable) {
    start();
    auto* list = window->trackList();
    auto* picker = window->findChild<QWidget*>(QStringLiteral("picTrack"));
    auto* editor = window->findChild<QWidget*>(QStringLiteral("picEditTrackList"));
    window->picTrack_Click();
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(list->count(), 12);
    // The open list covers neither picture button: the second click reaches the picker.
    for (QWidget* button : {picker, editor})
        EXPECT_EQ(window->childAt(button->geometry().center()), button) << button->objectName().toStdString();
    window->picTrack_Click();
    EXPECT_FALSE(list->isVisible());

    drive->remove();
    drive->insert(audioDisc(3, 100));
    tick();
    window->picTrack_Click();
    EXPECT_EQ(list->count(), 3);
    list->item(1)->setSelected(true);
    EXPECT_EQ(firstCommandOf([&] { window->TrackList_DblClick(); }), "seek cd to 2");
    EXPECT_FALSE(list->isVisible());
}
