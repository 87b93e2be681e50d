#pragma once

#include "settings/registry_access.h"

#include <QString>

#include <cstdint>
#include <functional>

class QObject;
class QTimer;

namespace velmora {

class MessageBoxService;
struct PlayerState;

// The settings wrappers: every setting is read and written through these two. A fresh
// component from the factory serves each call.
class RegistrySettings {
public:
    RegistrySettings(RegistryAccessFactory factory, MessageBoxService& boxes);

    // The stored text (an existing empty value included); when the value is missing,
    // stores `defaultValue` and returns it. On a failure of the store: shows the
    // "CRITICAL ERROR" box and returns empty text.
    QString GetRegKey(std::uint32_t hive, const QString& key, const QString& name,
                      const QString& defaultValue);
    // Stores the text, creating key and value as needed; a failure of the store shows
    // the "CRITICAL ERROR" box.
    void SetRegKey(std::uint32_t hive, const QString& key, const QString& name,
                   const QString& value);

private:
    void showError(const QString& routine, const RegistryError& error);

    RegistryAccessFactory factory_;
    MessageBoxService& boxes_;
};

// The text of the "CRITICAL ERROR" box for a failure in `routine` (as "Public Function
// GetRegKey").
QString criticalErrorText(const QString& routine, const RegistryError& error);

// Copies the settings into the player's globals; with LoadSkin, also hands the path of
// the chosen skin picture to `applySkin` (program folder, "/Skins/", the stored name
// without surrounding blanks).
struct SettingsLoader {
    RegistrySettings& settings;
    PlayerState& state;
    QString programFolder;
    std::function<void(const QString& skinPath)> applySkin;
    std::function<QString()> logonName;  // empty: systemLogonName()

    void LoadSettings(bool LoadSkin);
};

// The timer `tmrCheckSettings`: every 60 s, LoadSettings(false). Owned by `parent`; the
// loader must outlive it.
QTimer* createCheckSettingsTimer(SettingsLoader& loader, QObject* parent);

// The login name of the current user (passwd entry, then $USER), as the platform's
// 199-character buffer holds it: a longer name is cut to its first 198 characters.
QString systemLogonName();

// The default CDDB server path (host and script path, no scheme).
QString defaultCddbServer();

// A stored "Top", "Left" or "Show Tips at Startup" as a number: the whole number the
// text holds (blanks around it allowed), 0 for anything else (empty text, "12px", "1.5",
// a number out of range).
int settingAsWholeNumber(const QString& text);

}  // namespace velmora
