#include <gtest/gtest.h>

#include <QLoggingCategory>

#ifdef VELMORA_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

// Widget suites run with a QApplication on the offscreen platform, so they need no display
// and nothing depends on the machine's desktop; the logic suites have Qt Core alone.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    // The offscreen platform has no tray; Qt says so on every tray icon.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.core.qobject.connect=false"));
    return RUN_ALL_TESTS();
}
