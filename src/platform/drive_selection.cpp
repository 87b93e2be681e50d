// Placeholder: drive selection is being written.
#include "platform/drive_selection.h"
namespace velmora {
DriveSelection selectDrive(const QString&, const QString&, std::shared_ptr<Clock>) { return {}; }
DriveSelection selectDriveFromEnvironment(const QString&, std::shared_ptr<Clock>) { return {}; }
}  // namespace velmora
