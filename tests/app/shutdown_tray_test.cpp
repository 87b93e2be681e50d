#include "app_fixture.h"

#include "chrome/popup_menu.h"
#include "chrome/tray_icon.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

using ShutdownTrayTest = AppFixture;

TEST_F(ShutdownTrayTest, QuitByButtonOrHiddenByMenuClosesAllAndSavesThePositionOnce) {
    struct Case {
        const char* how;
        bool hiddenMenu;  // else the quit button
        QPoint at;
        const char* top;
        const char* left;
    } cases[] = {{"quit button", false, {15, 20}, "300", "225"}, {"menu, hidden", true, {40, 30}, "450", "600"}};
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.how);
        programEnded = 0;
        start();
        window->move(tc.at);
        recording.sent.clear();
        if (tc.hiddenMenu) {
            window->cmdMinimize_Click();
            ASSERT_FALSE(window->isVisible());
            window->popupMenu().mnuUAR->trigger();
        } else {
            click("cmdExit2");
        }
        EXPECT_EQ(std::count(recording.sent.begin(), recording.sent.end(), "close all"), 1);
        EXPECT_EQ(setting("Top"), tc.top);
        EXPECT_EQ(setting("Left"), tc.left);
        EXPECT_EQ(programEnded, 1);
        EXPECT_FALSE(window->isVisible());
    }
}

// A quit that arrives while a refresh runs waits for the refresh to end; the device closes once.
TEST_F(ShutdownTrayTest, AQuitArrivingDuringARefreshWaitsForItsEnd) {
    const struct {
        const char* how;
        void (*quit)(FrmCdplayer*);
    } cases[] = {
        {"Ctrl+Q", [](FrmCdplayer* w) { QTest::keySequence(w, QKeySequence(Qt::CTRL | Qt::Key_Q)); }},
        {"tray menu", [](FrmCdplayer* w) { w->popupMenu().mnuUAR->trigger(); }},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.how);
        programEnded = 0;
        start();
        window->activateWindow();
        FrmCdplayer* w = window;
        recording.onSend = [w, quit = tc.quit](const std::string& command) {
            if (command == "status cd length track 6")
                QMetaObject::invokeMethod(
                    w, [w, quit] { quit(w); }, Qt::QueuedConnection);
        };
        recording.sent.clear();
        tick();
        recording.onSend = nullptr;
        EXPECT_EQ(recording.sent.back(), "status cd mode");
        QCoreApplication::processEvents();
        EXPECT_EQ(programEnded, 1);
        EXPECT_EQ(std::count(recording.sent.begin(), recording.sent.end(), "close all"), 1);
        EXPECT_EQ(recording.sent.back(), "close all");
    }
}

TEST_F(ShutdownTrayTest, TrayIconRestoresAtTheSamePlaceAndOpensTheMenuOnRightPress) {
    start();
    QSystemTrayIcon* icon = window->tray().cSysTray1();
    EXPECT_EQ(icon->toolTip(), "Velmora");
    EXPECT_TRUE(icon->isVisible());
    EXPECT_FALSE(icon->icon().isNull());
    window->move(100, 50);
    window->cmdMinimize_Click();
    ASSERT_FALSE(window->isVisible());

    window->tray().cSysTray1_MouseDown(1);
    EXPECT_FALSE(window->popupMenu().mnuPopUp->isVisible());
    EXPECT_FALSE(window->isVisible());

    window->tray().cSysTray1_MouseDblClick(1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pos(), QPoint(100, 50));

    window->tray().cSysTray1_MouseDown(2);
    EXPECT_TRUE(window->popupMenu().mnuPopUp->isVisible());
    QStringList captions;
    for (QAction* a : window->popupMenu().mnuPopUp->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(captions,
              (QStringList{"Display Velmora", "-", "Play", "Pause", "Previous Track", "Next Track", "Stop", "Eject",
                           "-", "Repeat Track", "Repeat Disc", "Shuffle", "Intro Scan", "-", "Unload Velmora"}));
    window->popupMenu().mnuPopUp->hide();
}

namespace {

// Counts the polls: each reads the master volume.
struct CountingMixer final : NullMixerVolume {
    explicit CountingMixer(int* counter) : reads(counter) {}
    std::int32_t MainVolume() override {
        ++*reads;
        return NullMixerVolume::MainVolume();
    }
    int* reads;
};

}  // namespace

// Put away, to the tray or the taskbar, the window keeps the drive and menu; the session
// only follows the drive (no track lengths read, nothing drawn) and the volume is not polled.
TEST_F(ShutdownTrayTest, HiddenWindowOnlyFollowsTheDriveAndPollsNoVolumeUntilShownAgain) {
    int mixerReads = 0;
    mixer = [&mixerReads] { return std::make_unique<CountingMixer>(&mixerReads); };
    // Whether the tick refreshed in full, and whether the poll read the mixer.
    auto tickBoth = [&] {
        recording.sent.clear();
        const int reads = mixerReads;
        app->core().refresh.tmrUpdate_Timer();
        window->volume().poll();
        QCoreApplication::processEvents();
        return std::make_pair(recording.wasSent("status cd length track 1"), mixerReads > reads);
    };
    for (const bool tray : {true, false}) {
        SCOPED_TRACE(tray ? "minimised to the tray" : "closed to the taskbar");
        trayAvailable = tray;
        start();
        ASSERT_TRUE(loaded);
        EXPECT_EQ(tickBoth(), std::make_pair(true, true)) << "shown: both run";

        const QString face = leds();
        if (tray) click("cmdMinimize");
        else window->close();
        EXPECT_EQ(window->isMinimized(), !tray);
        EXPECT_EQ(window->isVisible(), !tray);
        ASSERT_FALSE(window->isShownToUser());
        EXPECT_FALSE(recording.wasSent("close all"));
        EXPECT_EQ(programEnded, 0);
        EXPECT_EQ(tickBoth(), std::make_pair(false, false)) << "put away";
        EXPECT_EQ(recording.sent,
                  (std::vector<std::string>{"status cd media present", "status cd position", "status cd mode"}));

        window->popupMenu().mnuPlay->trigger();
        EXPECT_TRUE(recording.wasSent("play cd"));
        EXPECT_FALSE(window->isShownToUser()) << "the menu plays, the window stays put away";
        clock->advanceMs(3000);
        tickBoth();
        EXPECT_FALSE(window->popupMenu().mnuPlay->isEnabled()) << "the menu follows the drive while put away";
        EXPECT_TRUE(window->popupMenu().mnuStop->isEnabled());
        EXPECT_EQ(leds(), face) << "the face is not drawn while put away";

        window->popupMenu().mnuAR->trigger();
        ASSERT_TRUE(window->isShownToUser());
        const PlayerState& s = state();
        EXPECT_EQ(leds(), QString::asprintf("%02d%02d%02d", s.CurrentTrack, s.CurrentMinute, s.CurrentSecond));
        EXPECT_NE(leds(), face) << "shown again, the face is right at once";
        EXPECT_EQ(tickBoth(), std::make_pair(true, true)) << "restored";
    }
}
