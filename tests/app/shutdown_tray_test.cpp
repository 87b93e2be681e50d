#include "app_fixture.h"

#include "chrome/popup_menu.h"
#include "chrome/tray_icon.h"
#include "mixer/mixer_volume.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

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
        EXPECT_TRUE(app->ExitRequested());
    }
}

TEST_F(ShutdownTrayTest, TrayRestoresAtTheSamePlaceAndOpensTheMenuOnRightPress) {
    start();
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
    window->popupMenu().mnuPopUp->hide();

    window->cmdMinimize_Click();
    window->popupMenu().mnuAR->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pos(), QPoint(100, 50));
}

TEST_F(ShutdownTrayTest, TrayIconAndMenuAreAsDesigned) {
    start();
    QSystemTrayIcon* icon = window->tray().cSysTray1();
    EXPECT_EQ(icon->toolTip(), "Velmora");
    EXPECT_TRUE(icon->isVisible());
    EXPECT_FALSE(icon->icon().isNull());
    QStringList captions;
    for (QAction* a : window->popupMenu().mnuPopUp->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(captions, (QStringList{"Display Velmora", "-", "Play", "Pause", "Previous Track", "Next Track", "Stop",
                                     "Eject", "-", "Unload Velmora"}));
}

namespace {

// Counts reads; the poll reads the master line only.
struct CountingMixer final : CMixerVolume {
    int* reads;
    explicit CountingMixer(int* counter) : reads(counter) {}
    std::int32_t CDVolume() override { return -1; }
    void setCDVolume(const std::int32_t&) override {}
    bool CDMute() override { return true; }
    void setCDMute(const bool&) override {}
    std::int32_t MainVolume() override {
        ++*reads;
        return 30000;
    }
    void setMainVolume(const std::int32_t&) override {}
    bool MainMute() override {
        ++*reads;
        return false;
    }
    void setMainMute(const bool&) override {}
};

struct Case {
    const char* name;
    bool trayAvailable;
    bool byClose;  // else the minimise button
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class HiddenWindowPolls : public AppFixture, public ::testing::WithParamInterface<Case> {};

// A main window put away (closed or minimised; to the tray, or to the taskbar on a desktop
// without one) keeps the drive open and the menu working, but neither refreshes from the
// drive nor polls the mixer; shown again, both pick up at the next tick.
TEST_P(HiddenWindowPolls, NeitherRefreshNorVolumePollRunsUntilShownAgain) {
    trayAvailable = GetParam().trayAvailable;
    int mixerReads = 0;
    mixer = [&mixerReads] { return std::make_unique<CountingMixer>(&mixerReads); };
    start();
    ASSERT_TRUE(loaded);
    auto tickBoth = [&] {
        recording.sent.clear();
        const int reads = mixerReads;
        app->core().refresh.tmrUpdate_Timer();
        window->volume().tmrVolume_Timer();
        QCoreApplication::processEvents();
        return std::make_pair(!recording.sent.empty(), mixerReads > reads);
    };
    EXPECT_EQ(tickBoth(), std::make_pair(true, true)) << "shown: both run";

    if (GetParam().byClose) window->close();
    else click("cmdMinimize");
    EXPECT_EQ(window->isMinimized(), !trayAvailable);
    EXPECT_EQ(window->isVisible(), !trayAvailable);
    ASSERT_FALSE(window->isShownToUser());
    EXPECT_FALSE(recording.wasSent("close all"));
    EXPECT_EQ(programEnded, 0);
    for (int tick = 0; tick < 3; ++tick) EXPECT_EQ(tickBoth(), std::make_pair(false, false)) << "tick " << tick;

    // Still running: the menu plays, and the window stays put away.
    window->popupMenu().mnuPlay->trigger();
    EXPECT_TRUE(recording.wasSent("play cd"));
    EXPECT_FALSE(window->isShownToUser());

    window->popupMenu().mnuAR->trigger();
    ASSERT_TRUE(window->isShownToUser());
    EXPECT_EQ(tickBoth(), std::make_pair(true, true)) << "restored";
    EXPECT_TRUE(recording.wasSent("status cd position"));
}

INSTANTIATE_TEST_SUITE_P(Ways, HiddenWindowPolls,
                         ::testing::Values(Case{"MinimisedToTheTray", true, false},
                                           Case{"ClosedToTheTray", true, true},
                                           Case{"MinimisedToTheTaskbar", false, false},
                                           Case{"ClosedToTheTaskbar", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
