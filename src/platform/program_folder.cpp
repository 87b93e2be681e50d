#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace velmora {

namespace {
bool holdsProgramData(const QString& folder) {
    return !folder.isEmpty() && QFileInfo(folder + QStringLiteral("/Skins")).isDir();
}
}  // namespace

QString programFolder() {
    const QString home = qEnvironmentVariable("VELMORA_HOME");
    if (!home.isEmpty()) return QDir::cleanPath(home);
    QString exeFolder = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    if (holdsProgramData(exeFolder)) return exeFolder;
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        QString candidate = data + QStringLiteral("/velmora");
        if (holdsProgramData(candidate)) return candidate;
    }
    return exeFolder;
}

QString demoDiscPath() {
    // The image has real sound; the simulated disc stays for builds without the image.
    QString image = programFolder() + QStringLiteral("/demo/demo.cue");
    if (QFileInfo::exists(image)) return image;
    return programFolder() + QStringLiteral("/demo/demo.disc");
}

}  // namespace velmora
