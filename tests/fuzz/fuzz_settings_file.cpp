// The settings file: whatever it holds, the program either refuses it (and then never
// writes it) or takes it, and a setting written then keeps every value the file held.
#include "fuzz_support.h"

#include "settings/qsettings_registry.h"

#include <QSettings>

#include <map>

using namespace velmora;

namespace {

// A list with a part that starts with "@" reads as a list of variants; written back, that
// part is escaped and the list reads as text. Both are the same texts.
QVariant comparable(const QVariant& value) {
    if (value.typeId() != QMetaType::QVariantList) return value;
    const QVariantList parts = value.toList();
    for (const QVariant& part : parts)
        if (part.typeId() != QMetaType::QString) return value;
    return value.toStringList();
}

std::map<QString, QVariant> valuesOf(const QString& path) {
    QSettings settings(path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) fuzz::broken("a file it took does not read");
    std::map<QString, QVariant> values;
    // Keys QSettings lists but cannot look up (an empty last part) are nobody's settings.
    for (const QString& key : settings.allKeys())
        if (settings.contains(key)) values[key] = comparable(settings.value(key));
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    // A fresh name each run: QSettings keeps what it parsed of a file by its name.
    static int run = 0;
    const QString path = fuzz::scratchFolder() + QStringLiteral("/settings-%1.ini").arg(++run);
    fuzz::writeFile(path, bytes);
    QSettingsRegistry registry(path);
    const QString key = QStringLiteral("SOFTWARE\\Tessaly\\Velmora");
    try {
        QString value;
        registry.ReadValue(HKEY_CURRENT_USER, key, QStringLiteral("Skin"), value);
    } catch (const RegistryError& refused) {
        if (refused.description.isEmpty()) fuzz::broken("refused without a reason");
        bool written = true;
        try {
            registry.WriteValue(HKEY_CURRENT_USER, key, QStringLiteral("Skin"), QStringLiteral("x.jpg"));
        } catch (const RegistryError&) {
            written = false;
        }
        QFile file(path);
        if (written || !file.open(QIODevice::ReadOnly) || file.readAll() != bytes)
            fuzz::broken("wrote a file it refused to read");
        QFile::remove(path);
        return 0;
    }
    std::map<QString, QVariant> expected = valuesOf(path);
    registry.WriteValue(HKEY_CURRENT_USER, key, QStringLiteral("Skin"), QStringLiteral("x.jpg"));
    expected[QStringLiteral("HKEY_CURRENT_USER/SOFTWARE/Tessaly/Velmora/Skin")] = QStringLiteral("x.jpg");
    ++run;
    const QString copy = fuzz::scratchFolder() + QStringLiteral("/settings-%1.ini").arg(run);
    QFile::rename(path, copy);
    if (valuesOf(copy) != expected) fuzz::broken("a value was lost or changed by a write");
    QFile::remove(copy);
    return 0;
}
