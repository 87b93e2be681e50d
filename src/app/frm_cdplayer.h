#pragma once

#include "app/app_services.h"
#include "chrome/skinned_window.h"
#include "player/main_controls.h"
#include "shared/player_state.h"

#include <array>
#include <memory>

class QLabel;
class QListWidget;
class QTimer;

namespace velmora {

class ClickArea;
class DiscDatabase;
class DisplayRefresh;
class MciChannel;
class PictureButton;
class PositionBar;
class PositionBarFrame;
class RegistrySettings;
struct SettingsLoader;
class TrackPicker;
class Transport;
class TrayIcon;
class VolumeControls;
struct PopupMenu;

// The main window: the skinned player face. It owns its controls and wires each to the
// unit that handles it; start-up and shutdown live here.
class FrmCdplayer : public SkinnedWindow {
    Q_OBJECT
public:
    explicit FrmCdplayer(AppServices services);
    ~FrmCdplayer() override;

    // Start-up. False when the program must end at once (another instance runs, or the
    // drive cannot be opened); the window is then not to be shown.
    bool Form_Load();
    // Shutdown or hide. Cancel is set to 1 when the window only hides.
    void Form_Unload(int& Cancel);

    PlayerState& state() { return state_; }
    const MainControls& controls() const { return controls_; }
    DisplayRefresh& refresh() { return *refresh_; }
    Transport& transport() { return *transport_; }
    PositionBar& positionBar() { return *positionBar_; }
    TrackPicker& trackPicker() { return *picker_; }
    TrayIcon& tray() { return *tray_; }
    PopupMenu& popupMenu() { return *menu_; }
    VolumeControls& volume() { return *volume_; }
    MciChannel& mci() { return *mci_; }
    RegistrySettings& settings() { return *settings_; }

    // Chrome buttons.
    void cmdMinimize_Click();
    void cmdExit2_Click();
    void cmdAbout_Click();
    void imgSetup_Click();
    void mnuAR_Click();
    void mnuUAR_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void wireControls();
    void restorePosition();
    void applySkinFile(const QString& path);
    void applySkinColours(const QString& skinFileName);
    void identifyDisc();
    void hideWindow();

    AppServices services_;
    PlayerState state_;
    MainControls controls_;

    std::unique_ptr<MciChannel> mci_;
    std::unique_ptr<RegistrySettings> settings_;
    std::unique_ptr<SettingsLoader> settingsLoader_;
    std::unique_ptr<DiscDatabase> discDatabase_;
    std::unique_ptr<DisplayRefresh> refresh_;
    std::unique_ptr<Transport> transport_;
    std::unique_ptr<PositionBar> positionBar_;
    std::unique_ptr<TrackPicker> picker_;
    std::unique_ptr<PopupMenu> menu_;
    TrayIcon* tray_ = nullptr;
    VolumeControls* volume_ = nullptr;

    QTimer* tmrUpdate_ = nullptr;
    QTimer* tmrCheckSettings_ = nullptr;
    PictureButton* cmdPlay_ = nullptr;
    PictureButton* cmdPause_ = nullptr;
    PictureButton* cmdStop_ = nullptr;
    PictureButton* cmdEject_ = nullptr;
    PictureButton* cmdFF_ = nullptr;
    PictureButton* cmdRR_ = nullptr;
    PictureButton* cmdForwardTrack_ = nullptr;
    PictureButton* cmdBackTrack_ = nullptr;
    PictureButton* cmdMinimize_ = nullptr;
    PictureButton* cmdExit2_ = nullptr;
    PictureButton* cmdAbout_ = nullptr;
    ClickArea* imgSetup_ = nullptr;
    ClickArea* picTrack_ = nullptr;
    ClickArea* picEditTrackList_ = nullptr;
    PositionBarFrame* picStatus_ = nullptr;
    bool unloaded_ = false;
};

}  // namespace velmora
