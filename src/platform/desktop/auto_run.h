#pragma once

#include "platform/desktop/xdg_folders.h"

#include <QString>

#include <functional>

namespace velmora {

class MessageBoxService;

inline const QString kAudioCdContentType = QStringLiteral("x-content/audio-cdda");

// The command the desktop runs for an audio CD when the program at `programPath` is the
// default player: its path, quoted where needed, and "play".
QString expectedPlayCommand(const QString& programPath);

enum class AutoRunOutcome { AlreadyDefault, Declined, MadeDefault, Failed };

// At start-up: when the default player for audio CDs is not this program with "play",
// asks whether to make it so, without waiting for the answer. Yes writes the user's
// velmora.desktop and the association in $XDG_CONFIG_HOME/mimeapps.list (every other line
// kept); No writes nothing. A file that cannot be read or written is reported in a box and
// the program goes on. `done` gets the outcome once it is known: at once when nothing
// needs asking, else after the answer.
void Check_Auto_Run(const QString& programPath, const XdgFolders& folders, MessageBoxService& boxes,
                    std::function<void(AutoRunOutcome)> done = {});

}  // namespace velmora
