#pragma once

#include <QString>

namespace velmora {

// Where the program reads its data from and where it writes.
struct ProgramFolders {
    // The read-only data (skins, tips, the demo disc).
    QString program;
    // What the program writes (the disc database).
    QString userData;
};

// The folders of a program whose executable lies in `exeFolder`, `home` being
// VELMORA_HOME (empty: unset). The program folder: `home` when set; else `exeFolder` when it
// holds the data (a build tree or a portable copy); else `<prefix>/share/velmora` for an
// executable in `<prefix>/bin`; else the first XDG data folder's "velmora" that holds it;
// else `exeFolder`. The user's data: `home` when set; `exeFolder` when it holds the data and
// belongs to the user who runs the program (a portable copy); else "velmora" in the user's
// data folder. So a system folder is never written, whoever runs the program.
ProgramFolders programFoldersFor(const QString& exeFolder, const QString& home);

// The folders of the running program (programFoldersFor its executable's folder and
// VELMORA_HOME).
ProgramFolders programFolders();
QString programFolder();

// The bundled demo disc: the disc image demo/demo.cue in the program's folder when it is
// there (a build tree); else the one in the user's cache folder, which drive selection
// writes the first time it is needed; else the simulated disc demo/demo.disc.
QString demoDiscPath();

}  // namespace velmora
