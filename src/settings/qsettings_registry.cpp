#include "settings/qsettings_registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include <unistd.h>

namespace velmora {

namespace {

// Numbers of the system's access-denied and invalid-data failures, as the error box
// shows them.
constexpr int kAccessDenied = -2147024891;
constexpr int kInvalidData = -2147024883;

const QString kSource = QStringLiteral("RegistryAccess");

QString hiveName(std::uint32_t hive) {
    switch (hive) {
    case HKEY_CURRENT_USER: return QStringLiteral("HKEY_CURRENT_USER");
    case HKEY_CLASSES_ROOT: return QStringLiteral("HKEY_CLASSES_ROOT");
    default: return QStringLiteral("HIVE_%1").arg(hive, 8, 16, QLatin1Char('0'));
    }
}

QString valueName(const QString& name) {
#ifdef Q_OS_WIN
    return name.isEmpty() ? QStringLiteral(".") : name;
#else
    // QSettings separates groups with "/" (and "\"): keep a name one key.
    if (name.isEmpty()) return QStringLiteral("@Default");
    return QString(name).replace(u'/', u'|').replace(u'\\', u'|');
#endif
}

[[noreturn]] void fail(const QSettings& store, const QString& path, bool writing) {
    const bool format = store.status() == QSettings::FormatError;
    throw RegistryError{
        format ? kInvalidData : kAccessDenied, kSource,
        QStringLiteral("%1 the settings store %2%3")
            .arg(writing ? QStringLiteral("Cannot write") : QStringLiteral("Cannot read"), path,
                 format ? QStringLiteral(": not a valid settings file") : QString())};
}

// The store for one call: on Linux the INI file with the key path as a group path; on
// Windows the registry key itself.
struct Store {
#ifdef Q_OS_WIN
    Store(const QString&, std::uint32_t hive, const QString& key)
        : settings(hiveName(hive) + u'\\' + key, QSettings::NativeFormat),
          where(hiveName(hive) + u'\\' + key) {}
#else
    Store(const QString& iniPath, std::uint32_t hive, const QString& key)
        : settings(iniPath, QSettings::IniFormat), where(iniPath) {
        settings.beginGroup(hiveName(hive) + u'/' + QString(key).replace(u'\\', u'/'));
    }
#endif
    QSettings settings;
    QString where;
};

}  // namespace

QString defaultSettingsStorePath() {
    const QString home = qEnvironmentVariable("VELMORA_HOME");
    if (!home.isEmpty()) {
        const QFileInfo folder(home);
        if (folder.isDir() &&
            ::access(QFile::encodeName(folder.absoluteFilePath()).constData(), W_OK | X_OK) == 0)
            return QDir::cleanPath(folder.absoluteFilePath()) + QStringLiteral("/settings.ini");
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/velmora/settings.ini");
}

RegistryAccessFactory qsettingsRegistryFactory(const QString& iniPath) {
    return [iniPath] { return std::make_unique<QSettingsRegistry>(iniPath); };
}

QSettingsRegistry::QSettingsRegistry(QString iniPath) : iniPath_(std::move(iniPath)) {
    if (iniPath_.isEmpty()) iniPath_ = defaultSettingsStorePath();
}

bool QSettingsRegistry::ReadValue(std::uint32_t hive, const QString& key, const QString& name,
                                  QString& value) {
    Store store(iniPath_, hive, key);
    if (store.settings.status() != QSettings::NoError) fail(store.settings, store.where, false);
    const QString path = valueName(name);
    if (!store.settings.contains(path)) return false;
    const QVariant stored = store.settings.value(path);
    // A hand-edited value with unquoted commas reads back as a list: keep it one text.
    value = stored.typeId() == QMetaType::QStringList ? stored.toStringList().join(u',')
                                                      : stored.toString();
    return true;
}

bool QSettingsRegistry::WriteValue(std::uint32_t hive, const QString& key, const QString& name,
                                   const QString& value) {
    Store store(iniPath_, hive, key);
    if (store.settings.status() != QSettings::NoError) fail(store.settings, store.where, true);
    store.settings.setValue(valueName(name), value);
    store.settings.sync();
    if (store.settings.status() != QSettings::NoError) fail(store.settings, store.where, true);
    return true;
}

}  // namespace velmora
