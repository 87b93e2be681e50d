#include "chrome/tray_icon.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

#include <memory>

using namespace velmora;

namespace {

// Failures reported on this thread while `body` runs.
template <typename Body>
int failuresDuring(Body body) {
    testing::TestPartResultArray failures;
    {
        testing::ScopedFakeTestPartResultReporter reporter(
            testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        body();
    }
    return failures.size();
}

}  // namespace

// The suites fail a test on a failed connect, but let through the one Qt's tray code makes
// on a platform without a tray.
TEST(TrayIconTest, ShowsWithoutAFailedConnectWhereThereIsNoTray) {
    QWidget window;
    QMenu menu;
    std::unique_ptr<TrayIcon> tray;
    EXPECT_EQ(failuresDuring([&] { tray = std::make_unique<TrayIcon>(&window, &menu); }), 0);
    EXPECT_TRUE(tray->cSysTray1()->isVisible());
}

TEST(TrayIconTest, AFailedConnectFailsTheTest) {
    QObject object;
    EXPECT_NONFATAL_FAILURE(QObject::connect(&object, SIGNAL(noSuchSignal()), &object, SLOT(deleteLater())),
                            "No such signal QObject::noSuchSignal()");
}
