// Placeholder until real drives and disc images land.
#include "platform/cdio/cdio_drive.h"
namespace velmora {
std::shared_ptr<CdDrive> openCdioDrive(const QString& path, std::shared_ptr<Clock>, QString* error) {
    if (error) *error = QStringLiteral("%1: real drives and disc images are not supported yet").arg(path);
    return nullptr;
}
std::optional<QString> firstCdDrive() { return std::nullopt; }
}  // namespace velmora
