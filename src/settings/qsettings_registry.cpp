#include "settings/qsettings_registry.h"

#include <QSettings>
#include <QStandardPaths>

namespace velmora {

namespace {
QString hiveName(std::uint32_t hive) {
    switch (hive) {
    case HKEY_CURRENT_USER: return QStringLiteral("HKEY_CURRENT_USER");
    case HKEY_CLASSES_ROOT: return QStringLiteral("HKEY_CLASSES_ROOT");
    default: return QStringLiteral("HIVE_%1").arg(hive, 8, 16, QLatin1Char('0'));
    }
}

// QSettings uses "/" as its group separator; the registry uses "\".
QString settingsPath(std::uint32_t hive, const QString& key, const QString& name) {
    QString path = hiveName(hive) + u'/' + QString(key).replace(u'\\', u'/');
    path += u'/' + (name.isEmpty() ? QStringLiteral("@Default") : name);
    return path;
}
}  // namespace

QSettingsRegistry::QSettingsRegistry(QString iniPath) : iniPath_(std::move(iniPath)) {
    if (iniPath_.isEmpty())
        iniPath_ = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                   QStringLiteral("/velmora/registry.ini");
}

bool QSettingsRegistry::ReadValue(std::uint32_t hive, const QString& key, const QString& name,
                                  QString& value) {
    QSettings store(iniPath_, QSettings::IniFormat);
    const QString path = settingsPath(hive, key, name);
    if (!store.contains(path)) return false;
    value = store.value(path).toString();
    return true;
}

bool QSettingsRegistry::WriteValue(std::uint32_t hive, const QString& key, const QString& name,
                                   const QString& value) {
    QSettings store(iniPath_, QSettings::IniFormat);
    store.setValue(settingsPath(hive, key, name), value);
    store.sync();
    return store.status() == QSettings::NoError;
}

}  // namespace velmora
