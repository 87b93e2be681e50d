#include "platform/mci/drive_mci.h"

namespace velmora {

std::unique_ptr<MciInterpreter> interpreterFor(std::shared_ptr<CdDrive> drive) {
    return std::make_unique<MciInterpreter>([drive = std::move(drive)] { return drive; });
}

DriveMci openDriveMci(const QString& demoDiscPath, std::shared_ptr<Clock> clock) {
    DriveMci result;
    result.selection = selectDriveFromEnvironment(demoDiscPath, std::move(clock));
    result.mci = interpreterFor(result.selection.drive);
    return result;
}

}  // namespace velmora
