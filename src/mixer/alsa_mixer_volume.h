#pragma once

#include "mixer/mixer_volume.h"

#include <chrono>
#include <memory>
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
// The control device stays open between accesses: on a sound server, opening it is a new
// client connection with a thread of its own, far dearer than the read itself, which
// still asks the server, so changes made elsewhere are seen at once. An access that
// fails on a kept device closes it and tries once more on a fresh one (the server
// restarted or went away); a device kept for half a minute is opened anew, so a change of
// the desktop's default output is followed. Used by one thread.
class AlsaMixerVolume : public CMixerVolume {
public:
    explicit AlsaMixerVolume(std::string device = "default");
    ~AlsaMixerVolume() override;
    AlsaMixerVolume(const AlsaMixerVolume&) = delete;
    AlsaMixerVolume& operator=(const AlsaMixerVolume&) = delete;

    // How long an open control device is kept before it is opened anew.
    static constexpr std::chrono::seconds kKeepFor{30};

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

    struct Found;
    struct Kept;
    enum class Access { Done, Missing, Failed };  // Failed: the control is there but will not answer
    template <typename Use>
    Access withControl(const char* element, int kind, Use&& use);

    std::string device_;
    std::unique_ptr<Kept> kept_;
};

}  // namespace velmora
