#include "platform/desktop/xdg_folders.h"

#include <QDir>

namespace velmora {

namespace {

QString folderFromEnvironment(const char* name, const QString& fallback) {
    const QString value = qEnvironmentVariable(name);
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : fallback;
}

QStringList folderListFromEnvironment(const char* name, const QStringList& fallback) {
    QStringList folders;
    for (const QString& folder : qEnvironmentVariable(name).split(u':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(folder)) folders.append(QDir::cleanPath(folder));
    return folders.isEmpty() ? fallback : folders;
}

}  // namespace

XdgFolders XdgFolders::fromEnvironment() {
    const QString home = QDir::homePath();
    XdgFolders folders;
    folders.configHome = folderFromEnvironment("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    folders.configDirs = folderListFromEnvironment("XDG_CONFIG_DIRS", {QStringLiteral("/etc/xdg")});
    folders.dataHome = folderFromEnvironment("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
    folders.dataDirs =
        folderListFromEnvironment("XDG_DATA_DIRS", {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
    for (const QString& desktop : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts))
        folders.desktops.append(desktop.toLower());
    return folders;
}

}  // namespace velmora
