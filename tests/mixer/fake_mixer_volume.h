#pragma once

#include "mixer/null_mixer_volume.h"

#include <cstdint>

namespace velmora::testing {

// A main line in memory (the CD line is missing); `available` false acts as no mixer
// (reads -1 and true, writes dropped).
struct FakeMixerVolume : NullMixerVolume {
    bool available = true;
    std::int32_t mainVolume = 0;
    bool mainMute = false;
    bool stuckMute = false;  // a switch that will not move: mute writes are dropped
    int reads = 0;
    int volumeWrites = 0;
    int muteWrites = 0;

    std::int32_t MainVolume() override {
        ++reads;
        return available ? mainVolume : -1;
    }
    void setMainVolume(const std::int32_t& v) override {
        ++volumeWrites;
        if (available) mainVolume = v;
    }
    bool MainMute() override {
        ++reads;
        return available ? mainMute : true;
    }
    void setMainMute(const bool& v) override {
        ++muteWrites;
        if (available && !stuckMute) mainMute = v;
    }
};

}  // namespace velmora::testing
