#pragma once

#include "platform/clock.h"
#include "platform/drive_selection.h"
#include "platform/mci/mci_interpreter.h"

#include <memory>

namespace velmora {

// The command interpreter over the drive that VELMORA_DRIVE names (else the machine's
// first drive, else the demo disc), as the player and velmora-cli open it. The
// selection is kept for its description and error; a selection without a drive makes
// "open cdaudio" fail with "cannot load driver".
struct DriveMci {
    DriveSelection selection;
    std::unique_ptr<MciInterpreter> mci;
};

DriveMci openDriveMci(const QString& demoDiscPath, std::shared_ptr<Clock> clock = std::make_shared<SteadyClock>());

// The same over a selection made already (tests, an explicit drive).
std::unique_ptr<MciInterpreter> interpreterFor(std::shared_ptr<CdDrive> drive);

}  // namespace velmora
