#include "settings/registry_settings.h"

#include "platform/message_box.h"
#include "shared/player_state.h"

#include <pwd.h>
#include <unistd.h>

namespace velmora {

RegistrySettings::RegistrySettings(RegistryAccessFactory factory, MessageBoxService& boxes)
    : factory_(std::move(factory)), boxes_(boxes) {}

QString RegistrySettings::GetRegKey(std::uint32_t hive, const QString& key, const QString& name,
                                    const QString& defaultValue) {
    try {
        auto access = factory_();
        QString value;
        if (access->ReadValue(hive, key, name, value)) return value;
        access->WriteValue(hive, key, name, defaultValue);
        return defaultValue;
    } catch (const RegistryError&) {
        return {};
    }
}

void RegistrySettings::SetRegKey(std::uint32_t hive, const QString& key, const QString& name,
                                 const QString& value) {
    try {
        factory_()->WriteValue(hive, key, name, value);
    } catch (const RegistryError&) {
    }
}

void SettingsLoader::LoadSettings(bool LoadSkin) {
    state.ActiveUserName = logonName ? logonName() : systemLogonName();
    state.ActiveUserName =
        settings.GetRegKey(HKEY_CURRENT_USER, kSettingsKey, QStringLiteral("UserName"),
                           state.ActiveUserName);
    state.ActiveCDDBServer = settings.GetRegKey(HKEY_CURRENT_USER, kSettingsKey,
                                                QStringLiteral("CDDBServer"), defaultCddbServer());
    if (LoadSkin) {
        const QString skin = settings.GetRegKey(HKEY_CURRENT_USER, kSettingsKey,
                                                QStringLiteral("Skin"),
                                                QStringLiteral("cloud_skin.jpg"));
        if (applySkin) applySkin(programFolder + QStringLiteral("/Skins/") + skin.trimmed());
    }
}

QString systemLogonName() {
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

QString defaultCddbServer() { return QStringLiteral("gnudb.gnudb.org/~cddb/cddb.cgi"); }

}  // namespace velmora
