#include <gtest/gtest.h>

#include <QApplication>
#include <QLoggingCategory>

// Every suite runs with a QApplication on the offscreen platform, so widget tests need
// no display and nothing depends on the machine's desktop.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // The offscreen platform has no tray; Qt says so on every tray icon.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.core.qobject.connect=false"));
    return RUN_ALL_TESTS();
}
