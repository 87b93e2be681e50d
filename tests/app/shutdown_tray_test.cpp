#include "app_fixture.h"

#include "chrome/popup_menu.h"
#include "chrome/tray_icon.h"

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
