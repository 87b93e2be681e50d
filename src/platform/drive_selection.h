#pragma once

#include "platform/cd_drive.h"
#include "platform/clock.h"

#include <QString>

#include <memory>

namespace velmora {

// Which drive the player and velmora-cli use, from VELMORA_DRIVE:
//   "sim:PATH"  a simulated drive holding the virtual disc of PATH
//   "sim:"      an empty simulated drive
//   a device path (/dev/sr0) or an image (.cue, .toc): a real drive or a disc image
// Unset: the first CD drive of the machine, else the bundled demo disc.
struct DriveSelection {
    std::shared_ptr<CdDrive> drive;  // nullptr when the selection cannot be opened
    QString description;             // what was chosen, for logs
    QString error;                   // why `drive` is null, in words for the user
};

DriveSelection selectDrive(const QString& choice, const QString& demoDiscPath, std::shared_ptr<Clock> clock);
DriveSelection selectDriveFromEnvironment(const QString& demoDiscPath, std::shared_ptr<Clock> clock);

}  // namespace velmora
