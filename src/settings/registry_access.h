#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace velmora {

inline constexpr std::uint32_t HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr std::uint32_t HKEY_CURRENT_USER = 0x80000001u;
inline const QString kSettingsKey = QStringLiteral("SOFTWARE\\Tessaly\\Velmora");

// A failure of the store itself (as opposed to a value that does not exist): what the
// "CRITICAL ERROR" box reports. System failures carry negative numbers.
struct RegistryError {
    int number = 0;
    QString source;
    QString description;
};

// The registry-access component: string values under a hive, a key path ("\"-separated)
// and a value name (empty: the key's default value). Both operations throw RegistryError
// when the store cannot be read or written.
class RegistryAccess {
public:
    virtual ~RegistryAccess() = default;
    // True and the text when the value exists; false (value untouched) when it does not.
    virtual bool ReadValue(std::uint32_t hive, const QString& key, const QString& name, QString& value) = 0;
    // Creates the key path and the value as needed.
    virtual bool WriteValue(std::uint32_t hive, const QString& key, const QString& name, const QString& value) = 0;
};

// A fresh component for each call of the settings wrappers. May throw RegistryError (a
// component that cannot be created).
using RegistryAccessFactory = std::function<std::unique_ptr<RegistryAccess>()>;

}  // namespace velmora
