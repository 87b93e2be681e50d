#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

class MessageBoxService;

inline const QString kAudioCdContentType = QStringLiteral("x-content/audio-cdda");
inline const QString kDesktopEntryName = QStringLiteral("velmora.desktop");

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

// `argument` as one argument of a desktop entry's Exec line: in double quotes (with the
// escapes quotes need) when it holds a character the format reserves; "%" doubled.
QString quoteExecArgument(const QString& argument);

// The command the desktop runs for an audio CD when the program at `programPath` is the
// default player: its path, quoted where needed, and "play".
QString expectedPlayCommand(const QString& programPath);

// The desktop entry template shipped with the program, "@VELMORA_PROGRAM@" unfilled;
// empty when it is missing from the build.
QString desktopEntryTemplate();

// The user's desktop entry for the program at `programPath`, from the template.
QString velmoraDesktopEntry(const QString& programPath);

// The Exec command of the desktop's default application for audio CDs: the first entry
// that the mimeapps.list files name for the content type and that is installed, in the
// order the desktop reads them. Empty when there is none.
QString currentPlayCommand(const XdgFolders& folders);

enum class AutoRunOutcome { AlreadyDefault, Declined, MadeDefault, Failed };

// At start-up: when the default player for audio CDs is not this program with "play",
// asks whether to make it so. Yes writes the user's velmora.desktop and the association
// in $XDG_CONFIG_HOME/mimeapps.list (every other line kept); No writes nothing. A file
// that cannot be read or written is reported in a box and the program goes on.
AutoRunOutcome Check_Auto_Run(const QString& programPath, const XdgFolders& folders, MessageBoxService& boxes);

// The same for the running executable and the user's own folders.
AutoRunOutcome Check_Auto_Run(MessageBoxService& boxes);

}  // namespace velmora
