#pragma once

#include <QObject>

class QAction;
class QMenu;
class QWidget;

namespace velmora {

// The pop-up menu of the tray icon: the transport commands, the play modes (check items
// that show the modes in effect), the way back to the main window and the way out of the
// program.
struct PopupMenu {
    explicit PopupMenu(QWidget* parent);

    QMenu* mnuPopUp;
    QAction* mnuAR;
    QAction* mnuSep4;
    QAction* mnuPlay;
    QAction* mnuPause;
    QAction* mnuPrev;
    QAction* mnuNext;
    QAction* mnuStop;
    QAction* mnuEject;
    QAction* mnuSep5;
    QAction* mnuRepeatTrack;
    QAction* mnuRepeatDisc;
    QAction* mnuShuffle;
    QAction* mnuIntroScan;
    QAction* mnuSep3;
    QAction* mnuUAR;
};

}  // namespace velmora
