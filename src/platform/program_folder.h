#pragma once

#include <QString>

namespace velmora {

// The program's folder: VELMORA_HOME when set; otherwise the folder of the executable
// when it holds the program's read-only data (a build tree or a portable copy);
// otherwise the installed data folder.
QString programFolder();

// The bundled demo disc inside the program's folder: the disc image demo/demo.cue when it
// is there (open it with openCdioDrive), else the simulated disc demo/demo.disc.
QString demoDiscPath();

}  // namespace velmora
