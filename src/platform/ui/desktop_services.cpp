#include "platform/ui/desktop_services.h"

#include <QDesktopServices>
#include <QFileDialog>

namespace velmora {

bool DesktopBrowser::openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

void DesktopFilePicker::chooseFile(const QString& title, const QString& folder, const QString& filter,
                                   std::function<void(const QString& path)> chosen) {
    auto* dialog = new QFileDialog(nullptr, title, folder, filter);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setWindowModality(Qt::ApplicationModal);
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog, [chosen = std::move(chosen)](const QString& path) {
        if (chosen && !path.isEmpty()) chosen(path);
    });
    dialog->show();
}

}  // namespace velmora
