#include "settings/qsettings_registry.h"

#include "shared/regular_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <optional>
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
    case HKEY_CURRENT_USER:
        return QStringLiteral("HKEY_CURRENT_USER");
    case HKEY_CLASSES_ROOT:
        return QStringLiteral("HKEY_CLASSES_ROOT");
    default:
        return QStringLiteral("HIVE_%1").arg(hive, 8, 16, QLatin1Char('0'));
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
    throw RegistryError{format ? kInvalidData : kAccessDenied, kSource,
                        QStringLiteral("%1 the settings store %2%3")
                            .arg(writing ? QStringLiteral("Cannot write") : QStringLiteral("Cannot read"), path,
                                 format ? QStringLiteral(": not a valid settings file") : QString())};
}

// Why the file at `path` is no settings file this program can safely rewrite, or nullopt
// when it is one (or is missing). QSettings takes some junk without complaint, reports
// other junk only on the first parse in a process, and rewrites the file on the next
// write, losing what the user had there: so every call looks at the file itself first.
std::optional<QString> unusableSettingsFile(const QString& path) {
    const RegularFile file = readRegularFile(path);
    if (file.status == RegularFile::Status::NotRegular)
        return file.isFolder() ? QStringLiteral("it is a folder, not a file")
                               : QStringLiteral("it is not a regular file");
    if (!file.read()) return std::nullopt;  // missing or unreadable: QSettings reports the rest
    const QByteArray& bytes = file.bytes;
    // QSettings reads UTF-8, ends a line at CR as well as LF or at a ";" outside quotes
    // (the rest is a comment), and joins lines inside quotes and after a backslash: a file
    // that leans on any of that is not rewritten.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString decoded = utf8(bytes);  // the decoder runs as it converts
    if (utf8.hasError()) return QStringLiteral("it is not UTF-8 text");
    int number = 0;
    for (const QByteArray& text : bytes.split('\n')) {
        ++number;
        for (QByteArray raw : text.split('\r')) {
            bool quoted = false, joined = false;
            for (qsizetype i = 0; i < raw.size(); ++i) {
                if (raw[i] == '\\') joined = ++i == raw.size();
                else if (raw[i] == '"') quoted = !quoted;
                else if (raw[i] == ';' && !quoted) raw.truncate(i);
            }
            QByteArray line = raw.trimmed();
            if (number == 1 && line.startsWith("\xEF\xBB\xBF")) line = line.sliced(3).trimmed();
            if (line.isEmpty() || line.front() == '#') continue;
            // A line that starts with "[" is a section, named up to its first "]"; a name's
            // parts are joined by "/" or "\", and one with an empty part cannot be looked up.
            const bool header = line.front() == '[';
            const qsizetype close = line.indexOf(']');
            const qsizetype eq = line.indexOf('=');
            const auto emptyPart = [](QByteArray name) {
                name = name.trimmed().replace('\\', '/');
                return name.isEmpty() || name.startsWith('/') || name.endsWith('/') || name.contains("//");
            };
            const bool badHeader = header && (close != line.size() - 1 || emptyPart(line.sliced(1, close - 1)));
            const bool badSetting = !header && (eq <= 0 || emptyPart(line.first(eq)));
            if (badHeader || badSetting || quoted || joined || line.contains('\0'))
                return QStringLiteral("line %1 is neither a [section] nor a name=value setting").arg(number);
        }
    }
    return std::nullopt;
}

[[noreturn]] void failUnusable(const QString& path, const QString& why, bool writing) {
    throw RegistryError{kInvalidData, kSource,
                        QStringLiteral("%1 the settings store %2: %3; the file was left as it is")
                            .arg(writing ? QStringLiteral("Cannot write") : QStringLiteral("Cannot read"), path, why)};
}

// The store for one call: on Linux the INI file with the key path as a group path; on
// Windows the registry key itself.
struct Store {
#ifdef Q_OS_WIN
    Store(const QString&, std::uint32_t hive, const QString& key)
        : settings(hiveName(hive) + u'\\' + key, QSettings::NativeFormat), where(hiveName(hive) + u'\\' + key) {}
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
        if (folder.isDir() && ::access(QFile::encodeName(folder.absoluteFilePath()).constData(), W_OK | X_OK) == 0)
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

bool QSettingsRegistry::ReadValue(std::uint32_t hive, const QString& key, const QString& name, QString& value) {
#ifndef Q_OS_WIN
    if (const auto why = unusableSettingsFile(iniPath_)) failUnusable(iniPath_, *why, false);
#endif
    Store store(iniPath_, hive, key);
    if (store.settings.status() != QSettings::NoError) fail(store.settings, store.where, false);
    const QString path = valueName(name);
    if (!store.settings.contains(path)) return false;
    const QVariant stored = store.settings.value(path);
    // A hand-edited value with unquoted commas reads back as a list (of variants when a part
    // starts with "@"): keep it one text.
    const bool list = stored.typeId() == QMetaType::QStringList || stored.typeId() == QMetaType::QVariantList;
    value = list ? stored.toStringList().join(u',') : stored.toString();
    return true;
}

bool QSettingsRegistry::WriteValue(std::uint32_t hive, const QString& key, const QString& name, const QString& value) {
#ifndef Q_OS_WIN
    if (const auto why = unusableSettingsFile(iniPath_)) failUnusable(iniPath_, *why, true);
#endif
    Store store(iniPath_, hive, key);
    if (store.settings.status() != QSettings::NoError) fail(store.settings, store.where, true);
    store.settings.setValue(valueName(name), value);
    store.settings.sync();
    if (store.settings.status() != QSettings::NoError) fail(store.settings, store.where, true);
    return true;
}

}  // namespace velmora
