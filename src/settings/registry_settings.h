#pragma once

#include "settings/registry_access.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace velmora {

class MessageBoxService;
struct PlayerState;

// The settings wrappers: every setting is read and written through these two.
class RegistrySettings {
public:
    RegistrySettings(RegistryAccessFactory factory, MessageBoxService& boxes);

    // The stored text; when the value is missing, stores `defaultValue` and returns it.
    // On a failure of the store: shows the "CRITICAL ERROR" box, returns empty text.
    QString GetRegKey(std::uint32_t hive, const QString& key, const QString& name,
                      const QString& defaultValue);
    // Stores the text; a failure of the store shows the "CRITICAL ERROR" box.
    void SetRegKey(std::uint32_t hive, const QString& key, const QString& name,
                   const QString& value);

private:
    RegistryAccessFactory factory_;
    MessageBoxService& boxes_;
};

// Copies the settings into the player's globals; with LoadSkin, also hands the path of
// the chosen skin picture to `applySkin`.
struct SettingsLoader {
    RegistrySettings& settings;
    PlayerState& state;
    QString programFolder;
    std::function<void(const QString& skinPath)> applySkin;
    std::function<QString()> logonName;  // the login name of the current user

    void LoadSettings(bool LoadSkin);
};

// The login name of the current user (passwd entry, then $USER).
QString systemLogonName();

// The default CDDB server path (host and script path, no scheme).
QString defaultCddbServer();

}  // namespace velmora
