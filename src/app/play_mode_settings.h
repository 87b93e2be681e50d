#pragma once

#include "player/play_modes.h"

namespace velmora {

class SettingsStore;

// The play modes and the time display as the settings keep them. A stored value that is
// not one of the numbers the settings give counts as off.
struct StoredPlayModes {
    PlayModes modes;
    TimeDisplay timeShown = TimeDisplay::Elapsed;
};

StoredPlayModes readPlayModes(SettingsStore& store);
void writePlayModes(SettingsStore& store, const StoredPlayModes& stored);

}  // namespace velmora
