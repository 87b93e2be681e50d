#pragma once

#include "settings/registry_access.h"
#include "settings/settings_schema.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace velmora {

// What a read of the store gave. On a failure of the store the value is empty.
struct SettingRead {
    QString value;
    std::optional<RegistryError> error;
};

// The store's failures go to the one sink its owner chose (the program shows the
// "CRITICAL ERROR" box); `routine` names the call as the box does.
using SettingsErrorSink = std::function<void(const QString& routine, const RegistryError& error)>;

inline const QString kGetRegKeyRoutine = QStringLiteral("Public Function GetRegKey");
inline const QString kSetRegKeyRoutine = QStringLiteral("Public Sub SetRegKey");

// Every setting is read and written through here. A fresh component from the factory
// serves each call; no state is kept between calls.
class SettingsStore {
public:
    explicit SettingsStore(RegistryAccessFactory factory, SettingsErrorSink onError = {});

    // The stored text (an existing empty value included); when the value is missing,
    // stores `defaultValue` and returns it. A failure of the store is returned and handed
    // to the error sink.
    SettingRead GetRegKey(std::uint32_t hive, const QString& key, const QString& name, const QString& defaultValue);
    // Stores the text, creating key and value as needed.
    std::optional<RegistryError> SetRegKey(std::uint32_t hive, const QString& key, const QString& name,
                                           const QString& value);

    // The program's settings under its own key. `defaultValue` overrides the schema's.
    SettingRead read(const Setting& setting, const QString& defaultValue);
    SettingRead read(const Setting& setting);
    // A whole-number setting (0 for text that is no whole number, or a failed read).
    int readWholeNumber(const Setting& setting);
    std::optional<RegistryError> write(const Setting& setting, const QString& value);

private:
    template <typename Call>
    std::optional<RegistryError> guarded(const QString& routine, Call&& call);

    RegistryAccessFactory factory_;
    SettingsErrorSink onError_;
};

// The text of the "CRITICAL ERROR" box for a failure in `routine`.
QString criticalErrorText(const QString& routine, const RegistryError& error);

}  // namespace velmora
