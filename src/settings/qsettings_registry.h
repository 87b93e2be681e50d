#pragma once

#include "settings/registry_access.h"

namespace velmora {

// The registry layout (hive, key path, value name) on QSettings: an INI file under the
// user's configuration folder on Linux.
class QSettingsRegistry final : public RegistryAccess {
public:
    // `iniPath` empty: the user's configuration folder.
    explicit QSettingsRegistry(QString iniPath = {});
    bool ReadValue(std::uint32_t hive, const QString& key, const QString& name,
                   QString& value) override;
    bool WriteValue(std::uint32_t hive, const QString& key, const QString& name,
                    const QString& value) override;

private:
    QString iniPath_;
};

}  // namespace velmora
