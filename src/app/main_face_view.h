#pragma once

#include <QObject>
#include <QString>

#include <array>

class QAction;
class QLabel;
class QWidget;

namespace velmora {

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

    // The twelve controls whose enabled state follows the drive.
    QWidget* cmdPlay = nullptr;
    QAction* mnuPlay = nullptr;
    QWidget* cmdStop = nullptr;
    QAction* mnuStop = nullptr;
    QWidget* cmdPause = nullptr;
    QAction* mnuPause = nullptr;
    QWidget* cmdFF = nullptr;
    QWidget* cmdRR = nullptr;
    QWidget* cmdForwardTrack = nullptr;
    QAction* mnuNext = nullptr;
    QWidget* cmdBackTrack = nullptr;
    QAction* mnuPrev = nullptr;
};

// Shows the session on the face: the LED readout, the position bar, the three labels
// and which transport controls are enabled. It writes a control only when what it shows
// has changed, so the face does not flicker once a second.
class MainFaceView : public QObject {
    Q_OBJECT
public:
    MainFaceView(PlayerSession& session, const MainFaceControls& controls, QObject* parent = nullptr);

    const MainFaceControls& controls() const { return c_; }

    void ShowTrackNumber(const QString& text);
    void ShowTrackTime(const QString& text);
    void ShowDiscInfo();

private:
    void showPosition();
    void showEnables();
    void updateLabel(QLabel* label, const QString& value);

    PlayerSession& session_;
    MainFaceControls c_;
};

}  // namespace velmora
