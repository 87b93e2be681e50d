#include "app/app_services.h"
#include "app/frm_cdplayer.h"
#include "app/velmora_app.h"
#include "chrome/tray_icon.h"
#include "discdb/disc_database.h"
#include "mixer/alsa_mixer_volume.h"
#include "platform/desktop/auto_run.h"
#include "platform/drive_selection.h"
#include "platform/mci/mci_interpreter.h"
#include "platform/on_demand_http_fetcher.h"
#include "platform/program_folder.h"
#include "platform/single_instance.h"
#include "platform/ui/desktop_services.h"
#include "platform/ui/qt_message_box.h"
#include "settings/qsettings_registry.h"

#include <QApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>

using namespace velmora;

namespace {
// The skinned window places itself; on a Wayland session that only works through
// XWayland, so ask for it where it is there.
void preferX11OnWayland() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return;
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}
// Start-up makes the program's folder current before the drive is opened, so a drive
// path given relative to where the player was started is made absolute first.
void anchorDrivePath() {
    QString drive = qEnvironmentVariable("VELMORA_DRIVE");
    if (drive.isEmpty()) return;
    const bool simulated = drive.startsWith(QLatin1String("sim:"));
    QString path = simulated ? drive.mid(4) : drive;
    if (path.isEmpty() || QDir::isAbsolutePath(path)) return;
    path = QDir::current().absoluteFilePath(path);
    qputenv("VELMORA_DRIVE", ((simulated ? QStringLiteral("sim:") : QString()) + path).toLocal8Bit());
}
}  // namespace

int main(int argc, char** argv) {
    preferX11OnWayland();
    anchorDrivePath();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmora"));
    // The window hides to the tray; only the quit commands end the program.
    QApplication::setQuitOnLastWindowClosed(false);

    InstanceLock instance;
    auto clock = std::make_shared<SteadyClock>();
    MciInterpreter interpreter([clock] {
        DriveSelection selection = selectDriveFromEnvironment(demoDiscPath(), clock);
        if (!selection.error.isEmpty()) std::fprintf(stderr, "velmora: %s\n", qPrintable(selection.error));
        return selection.drive;
    });
    QtMessageBoxService boxes;
    OnDemandHttpFetcher http(OnDemandHttpFetcher::installedModulePaths());
    DesktopBrowser browser;
    DesktopFilePicker files;

    AppServices services;
    services.mci = &interpreter;
    services.boxes = &boxes;
    services.http = &http;
    services.browser = &browser;
    services.files = &files;
    services.checkAutoRun = [&boxes] {
        Check_Auto_Run(QCoreApplication::applicationFilePath(), XdgFolders::fromEnvironment(), boxes);
    };
    services.registry = qsettingsRegistryFactory();
    services.mixer = [] { return std::make_unique<AlsaMixerVolume>(); };
    const ProgramFolders folders = programFolders();
    services.programFolder = folders.program;
    services.discDatabasePath = discDatabasePath(folders.userData, folders.program);
    services.commandLine = QApplication::arguments().mid(1).join(u' ');
    services.mciLogPath = qEnvironmentVariable("VELMORA_MCI_LOG");
    services.isOnlyInstance = [&instance] { return instance.acquire(); };
    services.trayAvailable = TrayIcon::desktopHasTray();
    services.endProgram = [] { QCoreApplication::quit(); };
    // VELMORA_MPRIS=0 leaves the desktop's media bus alone (for measurements).
    if (qEnvironmentVariable("VELMORA_MPRIS") != QLatin1String("0"))
        services.mediaBus = [] { return QDBusConnection::sessionBus(); };

    VelmoraApp velmora(std::move(services));
    if (!velmora.start()) return 0;
    velmora.mainWindow().show();
    return app.exec();
}
