#pragma once

#include <QObject>
#include <QString>

#include <array>

class QLabel;
class QWidget;

namespace velmora {

class Annunciator;
class LedDigit;
class PlayerSession;
class StatusBarShape;

// The controls of the main window's face that show the player's state.
struct MainFaceControls {
    std::array<LedDigit*, 6> ledTRK{};
    QLabel* lblCDName = nullptr;
    QLabel* lblArtist = nullptr;
    QLabel* lblTrk = nullptr;
    StatusBarShape* StatusBar = nullptr;
    // What the readout's time counts, and the play modes in effect.
    Annunciator* timeShown = nullptr;
    Annunciator* modesShown = nullptr;

    // The buttons whose enabled state follows the drive (the tray menu's items, enables and
    // mode checks, follow the session on their own, shown or not).
    QWidget* cmdPlay = nullptr;
    QWidget* cmdStop = nullptr;
    QWidget* cmdPause = nullptr;
    QWidget* cmdFF = nullptr;
    QWidget* cmdRR = nullptr;
    QWidget* cmdForwardTrack = nullptr;
    QWidget* cmdBackTrack = nullptr;
};

// Shows the session on the face: the LED readout, the position bar, the three labels,
// which transport buttons are enabled, and the play modes and time display in effect.
// It writes a control only when what it shows has changed, so the face does not flicker
// once a second, and not at all while the face is put away: shown again, it catches up
// at once.
class MainFaceView : public QObject {
    Q_OBJECT
public:
    MainFaceView(PlayerSession& session, const MainFaceControls& controls, QObject* parent = nullptr);

    const MainFaceControls& controls() const { return c_; }

    // Whether the face is in front of the user.
    void setShown(bool shown);

    void ShowTrackNumber(const QString& text);
    void ShowTrackTime(const QString& text);
    void ShowDiscInfo();

private:
    void showPosition();
    void showEnables();
    void showModes();
    void updateLabel(QLabel* label, const QString& value);
    void showAll();

    PlayerSession& session_;
    MainFaceControls c_;
    bool shown_ = true;
};

}  // namespace velmora
