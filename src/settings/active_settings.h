#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QTimer;

namespace velmora {

class SettingsStore;

// The settings in effect: the user name and servers the lookups use, re-read from
// the store at start-up, when the settings window closes and once a minute
// (`tmrCheckSettings`). Loading with the skin also tells which skin picture to show.
class ActiveSettings : public QObject {
    Q_OBJECT
public:
    static constexpr int kCheckIntervalMs = 60000;

    // `logonName` empty: systemLogonName().
    ActiveSettings(SettingsStore& store, QString programFolder, std::function<QString()> logonName = {},
                   QObject* parent = nullptr);

    void LoadSettings(bool LoadSkin);

    const QString& ActiveUserName() const { return userName_; }
    const QString& ActiveCDDBServer() const { return cddbServer_; }
    const QString& ActiveMusicBrainzServer() const { return musicBrainzServer_; }
    const QString& ActiveCoverArtServer() const { return coverArtServer_; }
    // A new disc is looked up as soon as it is identified.
    bool LookupAutomatically() const { return lookupAutomatically_; }
    // Re-reads the settings every minute once started.
    QTimer* tmrCheckSettings() const { return tmrCheckSettings_; }

signals:
    // The skin picture to show: program folder, "/Skins/", the stored name without
    // surrounding blanks.
    void skinChosen(const QString& path);

private:
    SettingsStore& store_;
    QString programFolder_;
    std::function<QString()> logonName_;
    QString userName_;
    QString cddbServer_;
    QString musicBrainzServer_;
    QString coverArtServer_;
    bool lookupAutomatically_ = true;
    QTimer* tmrCheckSettings_;
};

}  // namespace velmora
