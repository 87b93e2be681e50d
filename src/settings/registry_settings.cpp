#include "settings/registry_settings.h"

#include "platform/message_box.h"
#include "shared/player_state.h"
#include "shared/reply_parse.h"

#include <QTimer>

#include <exception>
#include <limits>
#include <pwd.h>
#include <unistd.h>

namespace velmora {

namespace {

constexpr int kUnspecifiedFailure = -2147467259;
constexpr int kLogonBufferSize = 199;  // characters, the terminating NUL included

}  // namespace

RegistrySettings::RegistrySettings(RegistryAccessFactory factory, MessageBoxService& boxes)
    : factory_(std::move(factory)), boxes_(boxes) {}

QString criticalErrorText(const QString& routine, const RegistryError& error) {
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("  Program Name : Velmora") + crlf + crlf +
           QStringLiteral("   Routine Name : ") + routine + crlf + crlf +
           QStringLiteral("     Error Number : ") + QString::number(error.number) + crlf +
           QStringLiteral("      Error Source : ") + error.source + crlf +
           QStringLiteral("Error Description : ") + error.description + crlf + crlf;
}

void RegistrySettings::showError(const QString& routine, const RegistryError& error) {
    boxes_.show(criticalErrorText(routine, error), QStringLiteral("CRITICAL ERROR"),
                MsgBox::Critical | MsgBox::OkOnly);
}

QString RegistrySettings::GetRegKey(std::uint32_t hive, const QString& key, const QString& name,
                                    const QString& defaultValue) {
    const QString routine = QStringLiteral("Public Function GetRegKey");
    try {
        const auto access = factory_ ? factory_() : nullptr;
        if (!access)
            throw RegistryError{kUnspecifiedFailure, QStringLiteral("Velmora"),
                                QStringLiteral("The settings store is not available")};
        QString value;
        if (access->ReadValue(hive, key, name, value)) return value;
        access->WriteValue(hive, key, name, defaultValue);
        return defaultValue;
    } catch (const RegistryError& error) {
        showError(routine, error);
    } catch (const std::exception& error) {
        showError(routine, {kUnspecifiedFailure, QStringLiteral("Velmora"),
                            QString::fromLocal8Bit(error.what())});
    }
    return {};
}

void RegistrySettings::SetRegKey(std::uint32_t hive, const QString& key, const QString& name,
                                 const QString& value) {
    const QString routine = QStringLiteral("Public Sub SetRegKey");
    try {
        const auto access = factory_ ? factory_() : nullptr;
        if (!access)
            throw RegistryError{kUnspecifiedFailure, QStringLiteral("Velmora"),
                                QStringLiteral("The settings store is not available")};
        access->WriteValue(hive, key, name, value);
    } catch (const RegistryError& error) {
        showError(routine, error);
    } catch (const std::exception& error) {
        showError(routine, {kUnspecifiedFailure, QStringLiteral("Velmora"),
                            QString::fromLocal8Bit(error.what())});
    }
}

void SettingsLoader::LoadSettings(bool LoadSkin) {
    state.ActiveUserName = logonName ? logonName() : systemLogonName();
    state.ActiveUserName = settings.GetRegKey(HKEY_CURRENT_USER, kSettingsKey,
                                              QStringLiteral("UserName"), state.ActiveUserName);
    state.ActiveCDDBServer = settings.GetRegKey(HKEY_CURRENT_USER, kSettingsKey,
                                                QStringLiteral("CDDBServer"), defaultCddbServer());
    if (LoadSkin) {
        const QString skin = settings.GetRegKey(HKEY_CURRENT_USER, kSettingsKey,
                                                QStringLiteral("Skin"),
                                                QStringLiteral("cloud_skin.jpg"));
        // Blanks only, as the stored name may carry them; other white space is part of it.
        qsizetype first = 0;
        qsizetype last = skin.size();
        while (first < last && skin[first] == u' ') ++first;
        while (last > first && skin[last - 1] == u' ') --last;
        if (applySkin)
            applySkin(programFolder + QStringLiteral("/Skins/") + skin.mid(first, last - first));
    }
}

QTimer* createCheckSettingsTimer(SettingsLoader& loader, QObject* parent) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(QStringLiteral("tmrCheckSettings"));
    timer->setInterval(60000);
    QObject::connect(timer, &QTimer::timeout, timer, [&loader] { loader.LoadSettings(false); });
    timer->start();
    return timer;
}

QString systemLogonName() {
    QString name;
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name)
        name = QString::fromLocal8Bit(pw->pw_name);
    else
        name = qEnvironmentVariable("USER");
    return name.left(kLogonBufferSize - 1);
}

QString defaultCddbServer() { return QStringLiteral("gnudb.gnudb.org/~cddb/cddb.cgi"); }

int settingAsWholeNumber(const QString& text) {
    const auto number = strictWholeNumber(text);
    if (!number || *number < std::numeric_limits<int>::min() ||
        *number > std::numeric_limits<int>::max())
        return 0;
    return static_cast<int>(*number);
}

}  // namespace velmora
