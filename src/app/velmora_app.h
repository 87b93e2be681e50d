#pragma once

#include "app/app_services.h"
#include "discdb/disc_id.h"

#include <QPointer>

class QWidget;

#include <memory>

namespace velmora {

class ActiveSettings;
class AutoLookup;
class FrmAbout;
class FrmAddCD;
class FrmQueryInterNet;
class FrmSettings;
class FrmTip;
class DiscDatabase;
class FrmCdplayer;
class MciChannel;
class MprisService;
class MusicBrainzFetcher;
class SettingsStore;
struct PlayerCore;

// The application: owns the command channel, the settings, the disc database and the
// player core, hands them to each window, and runs start-up and shutdown.
class VelmoraApp {
public:
    explicit VelmoraApp(AppServices services);
    ~VelmoraApp();
    VelmoraApp(const VelmoraApp&) = delete;
    VelmoraApp& operator=(const VelmoraApp&) = delete;

    // Start-up. False when the program must end at once (another instance runs, or the
    // drive cannot be opened); the main window is then not to be shown.
    bool start();
    // The quit commands: ends the program through the main window's unload.
    void quit();

    // The track list editor: hides the main window and opens the editor, which shows the
    // main window again when it closes. Returns the open editor.
    FrmAddCD* openEditor();
    FrmAddCD* editor() const;
    // The lookup window for the open editor's disc (the editor's Locate); it closes with
    // the editor. Null when there is no editor or no network.
    FrmQueryInterNet* openLookup();
    FrmQueryInterNet* lookupWindow() const;
    // The settings and about windows: each hides the main window while it is open.
    FrmSettings* openSettings();
    FrmAbout* openAbout();
    // The tip of the day, over the main window.
    FrmTip* showTips();
    FrmSettings* settingsWindow() const;
    FrmAbout* aboutWindow() const;
    FrmTip* tipWindow() const;
    // The media-bus service; null without a bus.
    MprisService* mpris() const { return mpris_.get(); }
    // The lookup of new discs by themselves; null without a network.
    AutoLookup* autoLookup() const { return autoLookup_.get(); }

    MciChannel& channel() { return *mci_; }
    SettingsStore& settingsStore() { return *store_; }
    ActiveSettings& settings() { return *settings_; }
    DiscDatabase& discDatabase() { return *database_; }
    PlayerCore& core() { return *core_; }
    FrmCdplayer& mainWindow() { return *window_; }
    const AppServices& services() const { return services_; }

private:
    void Form_Unload(int& Cancel);

    AppServices services_;
    std::unique_ptr<MciChannel> mci_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<ActiveSettings> settings_;
    std::unique_ptr<DiscDatabase> database_;
    std::unique_ptr<PlayerCore> core_;
    std::unique_ptr<FrmCdplayer> window_;
    std::unique_ptr<MprisService> mpris_;
    std::unique_ptr<MusicBrainzFetcher> musicBrainz_;  // every request to MusicBrainz, paced
    std::unique_ptr<AutoLookup> autoLookup_;
    // Hides the main window for `window` and brings it back when `window` closes.
    template <typename Window>
    void standInForMainWindow(Window* window);

    QPointer<FrmAddCD> editor_;
    DiscTocReplies editorToc_;  // the drive's table as the editor opened, for the lookup
    QPointer<FrmQueryInterNet> lookupWindow_;
    QPointer<FrmSettings> settingsWindow_;
    QPointer<FrmAbout> aboutWindow_;
    QPointer<FrmTip> tipWindow_;
    bool exitRequested_ = false;
    bool ended_ = false;
};

}  // namespace velmora
