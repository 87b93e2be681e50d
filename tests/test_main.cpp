#include <gtest/gtest.h>

#include <QLatin1String>
#include <QString>
#include <QtGlobal>

#include <cstring>

#ifdef VELMORA_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

namespace {

// Qt's own tray code connects by name to a signal that only its X11 platform has, so on the
// offscreen platform each tray icon shown says this; nothing of ours is at fault.
const QLatin1String kOffscreenTrayConnect(
    "QObject::connect: No such signal QPlatformNativeInterface::systemTrayWindowChanged(QScreen*)");

QtMessageHandler qtHandler = nullptr;

// A connect that fails fails the running test (or the run, outside a test), and is printed.
void failOnFailedConnect(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (context.category && std::strcmp(context.category, "qt.core.qobject.connect") == 0) {
        if (text == kOffscreenTrayConnect) return;
        ADD_FAILURE() << qPrintable(text);
    }
    if (qtHandler) qtHandler(type, context, text);
}

}  // namespace

// Widget suites run with a QApplication on the offscreen platform, so they need no display
// and nothing depends on the machine's desktop; the logic suites have Qt Core alone.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    qtHandler = qInstallMessageHandler(failOnFailedConnect);
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
