#include "settings/active_settings.h"

#include "settings/settings_store.h"

#include <QTimer>

namespace velmora {

ActiveSettings::ActiveSettings(SettingsStore& store, QString programFolder, std::function<QString()> logonName,
                               QObject* parent)
    : QObject(parent),
      store_(store),
      programFolder_(std::move(programFolder)),
      logonName_(std::move(logonName)),
      tmrCheckSettings_(new QTimer(this)) {
    tmrCheckSettings_->setObjectName(QStringLiteral("tmrCheckSettings"));
    tmrCheckSettings_->setInterval(kCheckIntervalMs);
    connect(tmrCheckSettings_, &QTimer::timeout, this, [this] { LoadSettings(false); });
}

void ActiveSettings::LoadSettings(bool LoadSkin) {
    const QString logon = logonName_ ? logonName_() : systemLogonName();
    userName_ = store_.read(settings::UserName, logon).value;
    cddbServer_ = store_.read(settings::CDDBServer, defaultCddbServer()).value;
    musicBrainzServer_ = store_.read(settings::MusicBrainzServer).value;
    coverArtServer_ = store_.read(settings::CoverArtServer).value;
    lookupAutomatically_ = store_.readWholeNumber(settings::LookupAutomatically) != 0;
    if (!LoadSkin) return;
    const QString skin = store_.read(settings::Skin).value;
    // Blanks only, as the stored name may carry them; other white space is part of it.
    qsizetype first = 0;
    qsizetype last = skin.size();
    while (first < last && skin[first] == u' ') ++first;
    while (last > first && skin[last - 1] == u' ') --last;
    emit skinChosen(programFolder_ + QStringLiteral("/Skins/") + skin.mid(first, last - first));
}

}  // namespace velmora
