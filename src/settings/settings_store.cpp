#include "settings/settings_store.h"

#include "shared/reply_parse.h"

#include <exception>
#include <limits>
#include <pwd.h>
#include <unistd.h>

namespace velmora {

namespace {
constexpr int kUnspecifiedFailure = -2147467259;
constexpr int kLogonBufferSize = 199;  // characters, the terminating NUL included
}  // namespace

SettingsStore::SettingsStore(RegistryAccessFactory factory, SettingsErrorSink onError)
    : factory_(std::move(factory)), onError_(std::move(onError)) {}

QString criticalErrorText(const QString& routine, const RegistryError& error) {
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("  Program Name : Velmora") + crlf + crlf + QStringLiteral("   Routine Name : ") + routine +
           crlf + crlf + QStringLiteral("     Error Number : ") + QString::number(error.number) + crlf +
           QStringLiteral("      Error Source : ") + error.source + crlf + QStringLiteral("Error Description : ") +
           error.description + crlf + crlf;
}

template <typename Call>
std::optional<RegistryError> SettingsStore::guarded(const QString& routine, Call&& call) {
    std::optional<RegistryError> failure;
    try {
        const auto access = factory_ ? factory_() : nullptr;
        if (!access)
            throw RegistryError{kUnspecifiedFailure, QStringLiteral("Velmora"),
                                QStringLiteral("The settings store is not available")};
        call(*access);
    } catch (const RegistryError& error) {
        failure = error;
    } catch (const std::exception& error) {
        failure = RegistryError{kUnspecifiedFailure, QStringLiteral("Velmora"), QString::fromLocal8Bit(error.what())};
    }
    if (failure && onError_) onError_(routine, *failure);
    return failure;
}

SettingRead SettingsStore::GetRegKey(std::uint32_t hive, const QString& key, const QString& name,
                                     const QString& defaultValue) {
    SettingRead result;
    result.error = guarded(kGetRegKeyRoutine, [&](RegistryAccess& access) {
        QString value;
        if (access.ReadValue(hive, key, name, value)) {
            result.value = value;
            return;
        }
        access.WriteValue(hive, key, name, defaultValue);
        result.value = defaultValue;
    });
    if (result.error) result.value.clear();
    return result;
}

std::optional<RegistryError> SettingsStore::SetRegKey(std::uint32_t hive, const QString& key, const QString& name,
                                                      const QString& value) {
    return guarded(kSetRegKeyRoutine, [&](RegistryAccess& access) { access.WriteValue(hive, key, name, value); });
}

SettingRead SettingsStore::read(const Setting& setting, const QString& defaultValue) {
    return GetRegKey(HKEY_CURRENT_USER, kSettingsKey, setting.valueName(), defaultValue);
}

SettingRead SettingsStore::read(const Setting& setting) {
    return read(setting, QString::fromLatin1(setting.defaultValue));
}

int SettingsStore::readWholeNumber(const Setting& setting) { return settingAsWholeNumber(read(setting).value); }

std::optional<RegistryError> SettingsStore::write(const Setting& setting, const QString& value) {
    return SetRegKey(HKEY_CURRENT_USER, kSettingsKey, setting.valueName(), value);
}

QString systemLogonName() {
    QString name;
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name)
        name = QString::fromLocal8Bit(pw->pw_name);
    else name = qEnvironmentVariable("USER");
    return name.left(kLogonBufferSize - 1);
}

QString defaultCddbServer() { return QStringLiteral("gnudb.gnudb.org/~cddb/cddb.cgi"); }

int settingAsWholeNumber(const QString& text) {
    const auto number = strictWholeNumber(text);
    if (!number || *number < std::numeric_limits<int>::min() || *number > std::numeric_limits<int>::max()) return 0;
    return static_cast<int>(*number);
}

}  // namespace velmora
