#pragma once

#include <array>

class QAction;
class QLabel;
class QListWidget;
class QTimer;
class QWidget;

namespace velmora {

class LedDigit;
class StatusBarShape;

// The controls of the main window that the player units read and write. The main window
// owns them; the units only hold this view of them.
struct MainControls {
    QWidget* frmCdplayer = nullptr;
    QTimer* tmrUpdate = nullptr;

    std::array<LedDigit*, 6> ledTRK{};
    QLabel* lblCDName = nullptr;
    QLabel* lblArtist = nullptr;
    QLabel* lblTrk = nullptr;
    StatusBarShape* StatusBar = nullptr;
    QListWidget* TrackList = nullptr;

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

}  // namespace velmora
