#pragma once

#include "platform/desktop/mime_apps.h"
#include "platform/desktop/xdg_folders.h"

#include <QString>

#include <functional>

namespace velmora {

class MessageBoxService;

inline const QString kAudioCdContentType = QStringLiteral("x-content/audio-cdda");

// The command the desktop runs for an audio CD when the program at `programPath` is the
// default player: its path, quoted where needed, and "play".
QString expectedPlayCommand(const QString& programPath);

// Whether the installed desktop entry `id` runs the program at `programPath` with "play"
// and nothing else: its command names that program by its path or, as a bare name, is the
// program the PATH finds.
bool entryRunsPlay(const XdgFolders& folders, const QString& id, const QString& programPath);

enum class AutoRunOutcome { AlreadyDefault, Declined, MadeDefault, Failed };

// At start-up: when the entry the desktop runs for audio CDs (as `query` finds it; by
// default xdgMimeQuery) does not run this program with "play", asks whether to make it so,
// without waiting for the answer. Yes makes velmora-play.desktop the default in
// $XDG_CONFIG_HOME/mimeapps.list (every other line kept), writing the user's own entry
// first unless the installed one already runs this program; No writes nothing. A file
// that cannot be read or written is reported in a box and the program goes on. `done`
// gets the outcome from the event loop once it is known.
void Check_Auto_Run(const QString& programPath, const XdgFolders& folders, MessageBoxService& boxes,
                    std::function<void(AutoRunOutcome)> done = {}, DefaultEntryQuery query = {});

}  // namespace velmora
