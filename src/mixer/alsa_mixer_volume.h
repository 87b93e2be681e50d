#pragma once

#include "mixer/mixer_volume.h"

#include <string>

namespace velmora {

// CMixerVolume on ALSA's mixer controls. The control device is "default" (on a PulseAudio
// or PipeWire desktop, the sound server's own volume); the simple-mixer element "Master"
// is the speakers line and "CD" the compact-disc line, reached through the controls the
// simple mixer builds them from ("Master Playback Volume", "Master Playback Switch", ...).
// Volumes are scaled linearly between 0..65535 and the control's range (see
// mixer_scale.h); a mute is the playback switch turned off. CDMute has the same polarity
// as MainMute: true means the line is muted.
//
// Every access opens the control device, finds the one control it needs, does its read or
// write and closes the device again, so nothing stays open between accesses.
class AlsaMixerVolume : public CMixerVolume {
public:
    explicit AlsaMixerVolume(std::string device = "default");

    std::int32_t CDVolume() override;
    void setCDVolume(const std::int32_t& VolumeValue) override;
    bool CDMute() override;
    void setCDMute(const bool& VolumeValue) override;
    std::int32_t MainVolume() override;
    void setMainVolume(const std::int32_t& VolumeValue) override;
    bool MainMute() override;
    void setMainMute(const bool& VolumeValue) override;

    const std::string& device() const { return device_; }

    // ALSA reports a missing card or plugin on stderr by default; the player keeps its
    // terminal clean. Called by the constructor; safe to call again.
    static void silenceLibraryErrors();

private:
    std::int32_t readVolume(const char* element);
    void writeVolume(const char* element, std::int32_t volume);
    bool readMute(const char* element);
    void writeMute(const char* element, bool muted);

    std::string device_;
};

}  // namespace velmora
