#include "platform/ui/desktop_services.h"

#include <QDesktopServices>
#include <QFileDialog>

namespace velmora {

bool DesktopBrowser::openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

QString DesktopFilePicker::chooseFile(const QString& title, const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(nullptr, title, folder, filter);
}

}  // namespace velmora
