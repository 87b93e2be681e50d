#pragma once

#include "settings/registry_access.h"

namespace velmora {

// The registry layout (hive, key path, value name) on QSettings. On Linux an INI file:
// one group per hive, the key path and value name below it ("@Default" for the key's
// default value). Where Qt runs on Windows, the registry itself.
class QSettingsRegistry final : public RegistryAccess {
public:
    // `iniPath` empty: defaultSettingsStorePath().
    explicit QSettingsRegistry(QString iniPath = {});
    bool ReadValue(std::uint32_t hive, const QString& key, const QString& name, QString& value) override;
    bool WriteValue(std::uint32_t hive, const QString& key, const QString& name, const QString& value) override;

    const QString& iniPath() const { return iniPath_; }

private:
    QString iniPath_;
};

// Where the settings live: "settings.ini" in VELMORA_HOME when that names a writable
// folder (a portable copy or a test keeps everything in one place and never touches the
// user's own settings), else "velmora/settings.ini" in the user's configuration folder.
QString defaultSettingsStorePath();

// A factory for the settings wrappers: a fresh QSettingsRegistry on `iniPath` per call.
RegistryAccessFactory qsettingsRegistryFactory(const QString& iniPath = {});

}  // namespace velmora
