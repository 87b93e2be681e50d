// The play modes and the readout's time display on the main window: keys, the tray
// menu's check items, the indicators on the face, and the settings that keep them.
#include "app_fixture.h"

#include "chrome/annunciator.h"
#include "chrome/popup_menu.h"
#include "chrome/status_bar.h"

#include <QAction>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {
class PlayModesAppTest : public AppFixture {
protected:
    unsigned lit(const char* row) { return window->findChild<Annunciator*>(QLatin1String(row))->lit(); }
};
}  // namespace

TEST_F(PlayModesAppTest, KeysAndTrayItemsSetTheModesAndTheChecksAndIndicatorsAgree) {
    start();
    window->activateWindow();
    const PopupMenu& menu = window->popupMenu();
    auto key = [this](Qt::Key k) { return std::function<void()>([this, k] { QTest::keyClick(window, k); }); };
    auto item = [](QAction* a) { return std::function<void()>([a] { a->trigger(); }); };
    const struct {
        const char* what;
        std::function<void()> act;
        PlayModes modes;
        unsigned lit;  // REPEAT 1, REPEAT ALL, SHUFFLE, INTRO
    } cases[] = {
        {"R", key(Qt::Key_R), {Repeat::Track, false, false}, 0b0001},
        {"R again", key(Qt::Key_R), {Repeat::Disc, false, false}, 0b0010},
        {"R once more", key(Qt::Key_R), {Repeat::Off, false, false}, 0},
        {"H", key(Qt::Key_H), {Repeat::Off, true, false}, 0b0100},
        {"I", key(Qt::Key_I), {Repeat::Off, true, true}, 0b1100},
        {"Shuffle item", item(menu.mnuShuffle), {Repeat::Off, false, true}, 0b1000},
        {"Repeat Disc item", item(menu.mnuRepeatDisc), {Repeat::Disc, false, true}, 0b1010},
        {"Repeat Track item", item(menu.mnuRepeatTrack), {Repeat::Track, false, true}, 0b1001},
        {"Repeat Track item again", item(menu.mnuRepeatTrack), {Repeat::Off, false, true}, 0b1000},
        {"Intro Scan item", item(menu.mnuIntroScan), {}, 0},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.what);
        tc.act();
        EXPECT_EQ(session().modes(), tc.modes);
        EXPECT_EQ(lit("ledModes"), tc.lit);
        const bool checks[] = {menu.mnuRepeatTrack->isChecked(), menu.mnuRepeatDisc->isChecked(),
                               menu.mnuShuffle->isChecked(), menu.mnuIntroScan->isChecked()};
        for (unsigned i = 0; i < 4; ++i) EXPECT_EQ(checks[i], ((tc.lit >> i) & 1u) != 0) << i;
    }
}

TEST_F(PlayModesAppTest, TheReadoutCountsElapsedThenWhatIsLeftOfTheTrackAndOfTheDisc) {
    start();
    window->activateWindow();
    click("cmdPlay");
    advance(65'000);
    const struct {
        std::function<void()> act;
        const char* leds;
        unsigned lit;
    } cases[] = {
        {[] {}, "010105", 0b001},
        {[this] { QTest::keyClick(window, Qt::Key_T); }, "010305", 0b010},  // 4:10 less 1:05
        {[this] { window->picReadout_Click(); }, "014855", 0b100},          // and 11 tracks of 4:10
        {[this] { QTest::keyClick(window, Qt::Key_T); }, "010105", 0b001},
    };
    for (const auto& tc : cases) {
        tc.act();
        EXPECT_EQ(leds(), tc.leds);
        EXPECT_EQ(lit("ledTimeShown"), tc.lit);
    }
    EXPECT_EQ(controls().StatusBar->widthTwips(), 65 * 1670 / 250);  // the bar keeps to the track
}

TEST_F(PlayModesAppTest, ModesAreKeptAcrossStartsAndAStoredValueThatMeansNothingCountsAsOff) {
    store("Repeat", "2");
    store("Shuffle", "yes");
    store("Intro Scan", "1");
    store("Time Display", "7");
    start();
    EXPECT_EQ(session().modes(), (PlayModes{Repeat::Disc, false, true}));
    EXPECT_EQ(session().timeDisplay(), TimeDisplay::Elapsed);
    window->activateWindow();
    QTest::keyClick(window, Qt::Key_H);
    QTest::keyClick(window, Qt::Key_T);
    EXPECT_EQ(setting("Shuffle"), "1");

    start();
    EXPECT_EQ(session().modes(), (PlayModes{Repeat::Disc, true, true}));
    EXPECT_EQ(session().timeDisplay(), TimeDisplay::TrackRemaining);
    EXPECT_EQ(lit("ledTimeShown"), 0b010u);
}
