#pragma once

#include "mixer/mixer_volume.h"
#include "settings/registry_access.h"

#include <QDBusConnection>
#include <QString>

#include <functional>

namespace velmora {

class BrowserService;
class FilePickerService;
class HttpFetcher;
class MciService;
class MessageBoxService;

// Everything the application takes from the platform. The program fills it with the
// real services; tests fill it with doubles or with real parts pointed at temporary
// folders.
struct AppServices {
    MciService* mci = nullptr;
    MessageBoxService* boxes = nullptr;
    HttpFetcher* http = nullptr;  // the lookups' transfers (CDDB, MusicBrainz, cover art)
    BrowserService* browser = nullptr;
    FilePickerService* files = nullptr;
    RegistryAccessFactory registry;
    MixerFactory mixer;

    QString programFolder;
    QString discDatabasePath;
    QString commandLine;  // the arguments after the program name, joined by blanks
    QString mciLogPath;   // empty: no log
    QString coverFolder;  // where covers are kept; empty: the user's cache folder

    // False when another instance already runs.
    std::function<bool()> isOnlyInstance = [] { return true; };
    // Whether the desktop shows tray icons; without one, hiding minimises instead.
    bool trayAvailable = true;
    // The user's login name (empty: the system's).
    std::function<QString()> logonName;
    // Offers to become the desktop's player for audio CDs (may ask the user).
    std::function<void()> checkAutoRun = [] {};
    // The draws of the tip window and the shuffled play order, 0 <= r < 1 (empty: a
    // generator seeded from the clock, the system's for the order).
    std::function<double()> random;
    // The desktop's session bus for the media-player service; none: no service.
    std::function<QDBusConnection()> mediaBus;
    // Ends the program once the main window has really unloaded.
    std::function<void()> endProgram;
};

}  // namespace velmora
