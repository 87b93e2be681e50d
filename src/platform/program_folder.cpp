#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

bool holdsProgramData(const QString& folder) {
    return !folder.isEmpty() && QFileInfo(folder + QStringLiteral("/Skins")).isDir();
}

bool ownedByUser(const QString& folder) {
    struct stat info {};
    return ::stat(QFile::encodeName(folder).constData(), &info) == 0 && info.st_uid == ::geteuid();
}

QString userDataHome() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/velmora");
}

}  // namespace

ProgramFolders programFoldersFor(const QString& exeFolder, const QString& home) {
    if (!home.isEmpty()) return {QDir::cleanPath(home), QDir::cleanPath(home)};
    if (holdsProgramData(exeFolder)) return {exeFolder, ownedByUser(exeFolder) ? exeFolder : userDataHome()};
    QStringList candidates{QDir::cleanPath(exeFolder + QStringLiteral("/../share/velmora"))};
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        candidates.append(data + QStringLiteral("/velmora"));
    for (const QString& candidate : candidates)
        if (holdsProgramData(candidate)) return {candidate, userDataHome()};
    return {exeFolder, userDataHome()};
}

ProgramFolders programFolders() {
    const QString exeFolder =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return programFoldersFor(exeFolder, qEnvironmentVariable("VELMORA_HOME"));
}

QString programFolder() { return programFolders().program; }

QString demoDiscPath() {
    // The image has real sound; the simulated disc stays for where no image can be had.
    const QString folder = programFolder();
    QString beside = folder + QStringLiteral("/demo/demo.cue");
    if (QFileInfo::exists(beside)) return beside;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty()) return cache + QStringLiteral("/velmora/demo/demo.cue");
    return folder + QStringLiteral("/demo/demo.disc");
}

}  // namespace velmora
