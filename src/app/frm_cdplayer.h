#pragma once

#include "app/main_face_view.h"
#include "chrome/skinned_window.h"
#include "mixer/master_volume.h"

#include <functional>
#include <memory>

class QListWidget;

namespace velmora {

class Annunciator;
class ClickArea;
class PictureButton;
class PositionBarFrame;
class TrayIcon;
class VolumeKnob;
struct PlayerCore;
struct PopupMenu;

// The main window: the skinned player face. It builds its controls and wires each to the
// unit that handles it; what the application does on quit, unload and the windows it
// opens comes in through `Actions`.
class FrmCdplayer : public SkinnedWindow {
    Q_OBJECT
public:
    struct Actions {
        std::function<void()> quit;               // the quit commands
        std::function<void(int& Cancel)> unload;  // Form_Unload
        std::function<void()> about;              // cmdAbout
        std::function<void()> setup;              // imgSetup
        std::function<void()> editTrackList;      // picEditTrackList
    };

    FrmCdplayer(PlayerCore& core, MixerFactory mixer, bool trayAvailable);
    ~FrmCdplayer() override;

    void setActions(Actions actions) { actions_ = std::move(actions); }

    // Gives the eight transport buttons their rounded outlines.
    void RoundTransportButtons();
    // Places the window at a stored place (twips), keeping at least half of it on screen
    // on each axis.
    void restorePosition(int top, int left);
    // A skin picture that is missing or not a picture leaves the face as it is.
    void applySkinFile(const QString& path);
    // Whether the face is in front of the user: shown and not minimised.
    bool isShownToUser() const;
    void hideWindow();

    const MainFaceControls& controls() const { return view_->controls(); }
    MainFaceView& view() { return *view_; }
    QListWidget* trackList() const { return TrackList_; }
    TrayIcon& tray() { return *tray_; }
    PopupMenu& popupMenu() { return *menu_; }
    // The master line that the knob and the mute images show and set.
    MasterVolume& volume() { return *volume_; }

    // Chrome and picker handlers.
    void cmdMinimize_Click();
    void cmdExit2_Click();
    void cmdAbout_Click();
    void imgSetup_Click();
    void mnuAR_Click();
    void mnuUAR_Click();
    void picTrack_Click();
    void TrackList_DblClick();
    void picEditTrackList_Click();
    // The readout: what its time counts goes round (elapsed, left in the track, on the disc).
    void picReadout_Click();
    // Volume handlers, on the master line.
    void sldMain_Change();
    void imgMute_Click();
    void imgUnmute_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    MainFaceControls createControls();
    void wireControls();
    void wireKeys();
    void wireModes();
    // The play modes with `change` made to them.
    template <typename Change>
    void changeModes(Change change);
    void wireVolume();
    void showVolume(int volume, bool muted);
    void showMenuEnables();
    void showMenuModes();
    void applySkinColours(const QString& skinFileName);

    PlayerCore& core_;
    bool trayAvailable_;
    Actions actions_;
    std::unique_ptr<PopupMenu> menu_;
    std::unique_ptr<MainFaceView> view_;
    TrayIcon* tray_ = nullptr;
    MasterVolume* volume_ = nullptr;

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
    ClickArea* picReadout_ = nullptr;
    PositionBarFrame* picStatus_ = nullptr;
    QListWidget* TrackList_ = nullptr;
    VolumeKnob* sldMain_ = nullptr;
    ClickArea* imgMute_ = nullptr;
    ClickArea* imgUnmute_ = nullptr;
    bool settingVolumeFromPoll_ = false;
    bool unloaded_ = false;
};

// Where a stored place ends up: `place` when at least half of the window (`size`) stays
// on a screen of `screenSize` on that axis, else 0. All in twips.
int placeOnScreen(int place, int size, int screenSize);

}  // namespace velmora
