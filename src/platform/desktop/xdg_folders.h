#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// The freedesktop base folders that the desktop's default applications come from.
struct XdgFolders {
    QString configHome;  // the user's mimeapps.list lives here
    QStringList configDirs;
    QString dataHome;  // the user's applications folder is dataHome + "/applications"
    QStringList dataDirs;
    QStringList desktops;  // current desktop names, lower case ("<name>-mimeapps.list")

    // $XDG_CONFIG_HOME, $XDG_CONFIG_DIRS, $XDG_DATA_HOME, $XDG_DATA_DIRS and
    // $XDG_CURRENT_DESKTOP, with the usual defaults where a variable is unset or relative.
    static XdgFolders fromEnvironment();
};

}  // namespace velmora
