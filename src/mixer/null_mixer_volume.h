#pragma once

#include "mixer/mixer_volume.h"

namespace velmora {

// A machine without a mixer: every volume reads -1, every mute reads true, writes do
// nothing. Stands in where no sound system is wanted at all.
class NullMixerVolume : public CMixerVolume {
public:
    std::int32_t CDVolume() override { return -1; }
    void setCDVolume(const std::int32_t&) override {}
    bool CDMute() override { return true; }
    void setCDMute(const bool&) override {}
    std::int32_t MainVolume() override { return -1; }
    void setMainVolume(const std::int32_t&) override {}
    bool MainMute() override { return true; }
    void setMainMute(const bool&) override {}
};

}  // namespace velmora
