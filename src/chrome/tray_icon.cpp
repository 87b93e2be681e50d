#include "chrome/tray_icon.h"

#include "chrome/artwork.h"
#include "platform/ui/window_shape.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

namespace velmora {

TrayIcon::TrayIcon(QWidget* mainWindow, QMenu* mnuPopUp)
    : QObject(mainWindow), window_(mainWindow), menu_(mnuPopUp), icon_(new QSystemTrayIcon(artwork::trayIcon(), this)) {
    icon_->setObjectName(QStringLiteral("cSysTray1"));
    icon_->setToolTip(QStringLiteral("Velmora"));
    // The desktop shows the menu itself on a right press (and exports it where icons are
    // shown over D-Bus).
    icon_->setContextMenu(menu_);
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) cSysTray1_MouseDblClick(1);
    });
    icon_->show();
}

bool TrayIcon::desktopHasTray() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TrayIcon::cSysTray1_MouseDown(int Button) {
    if (Button == 2) menu_->popup(QCursor::pos());
}

void TrayIcon::cSysTray1_MouseDblClick(int) { RestoreMainWindow(window_); }

void TrayIcon::RestoreMainWindow(QWidget* mainWindow) {
    if (mainWindow->isMinimized()) mainWindow->showNormal();
    placeWindow(mainWindow, Layer::Top, /*activate=*/false);
}

void hideMainWindow(QWidget* mainWindow, bool trayAvailable) {
    if (trayAvailable) mainWindow->hide();
    else mainWindow->showMinimized();
}

}  // namespace velmora
