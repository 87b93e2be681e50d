#include "app/play_mode_settings.h"

#include "settings/settings_store.h"

namespace velmora {

namespace {
// The stored number when it is one of 0..`highest`, else 0.
int choice(SettingsStore& store, const Setting& setting, int highest) {
    const int value = store.readWholeNumber(setting);
    return value >= 0 && value <= highest ? value : 0;
}
}  // namespace

StoredPlayModes readPlayModes(SettingsStore& store) {
    StoredPlayModes stored;
    stored.modes.repeat = static_cast<Repeat>(choice(store, settings::RepeatMode, 2));
    stored.modes.shuffle = choice(store, settings::ShuffleMode, 1) == 1;
    stored.modes.introScan = choice(store, settings::IntroScanMode, 1) == 1;
    stored.timeShown = static_cast<TimeDisplay>(choice(store, settings::TimeShown, 2));
    return stored;
}

void writePlayModes(SettingsStore& store, const StoredPlayModes& stored) {
    const auto number = [](int n) { return QString::number(n); };
    store.write(settings::RepeatMode, number(static_cast<int>(stored.modes.repeat)));
    store.write(settings::ShuffleMode, number(stored.modes.shuffle ? 1 : 0));
    store.write(settings::IntroScanMode, number(stored.modes.introScan ? 1 : 0));
    store.write(settings::TimeShown, number(static_cast<int>(stored.timeShown)));
}

}  // namespace velmora
