#pragma once

#include <QObject>

#include <functional>

class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace velmora {

// The notification-area icon: present while the program runs, tooltip "Velmora"; a
// double-click brings the main window back, a right-button press opens the pop-up menu.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    TrayIcon(QWidget* mainWindow, QMenu* mnuPopUp);

    // Whether the desktop shows tray icons at all. Where it does not, the main window is
    // minimised to the taskbar instead of hidden, so the user is never stranded.
    static bool desktopHasTray();

    // Mouse events of the icon (button 1 left, 2 right, 4 middle).
    void cSysTray1_MouseDown(int Button);
    void cSysTray1_MouseDblClick(int Button);

    QSystemTrayIcon* cSysTray1() const { return icon_; }

    // Brings the main window back at its own place, on top of ordinary windows, without
    // taking the keyboard focus.
    static void RestoreMainWindow(QWidget* mainWindow);

private:
    QWidget* window_;
    QMenu* menu_;
    QSystemTrayIcon* icon_;
};

// Hides the main window to the tray; minimises it instead where the desktop has no tray.
void hideMainWindow(QWidget* mainWindow, bool trayAvailable);

}  // namespace velmora
