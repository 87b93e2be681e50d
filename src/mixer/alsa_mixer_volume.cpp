#include "mixer/alsa_mixer_volume.h"

#include "mixer/mixer_scale.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <utility>

namespace velmora {

namespace {

constexpr const char* kMasterElement = "Master";
constexpr const char* kCDElement = "CD";

void discardAlsaError(const char*, int, const char*, int, const char*, ...) {}

// The controls behind a simple-mixer element: "<line> Playback Volume" and
// "<line> Playback Switch", or the direction-less "<line> Volume" and "<line> Switch"
// that the simple mixer also takes as playback controls. Reading the one control an
// access needs, instead of loading every element of the device, spares a sound server
// several round trips per access.
enum class ControlKind { Volume, Switch };

// Closes the control device however the access ends.
struct ControlHandle {
    snd_ctl_t* ctl = nullptr;
    ControlHandle() = default;
    ControlHandle(const ControlHandle&) = delete;
    ControlHandle& operator=(const ControlHandle&) = delete;
    ~ControlHandle() {
        if (ctl) snd_ctl_close(ctl);
    }
};

// The control's element id and info, when the device has a usable control of that kind.
bool findControl(snd_ctl_t* ctl, const char* line, ControlKind kind, snd_ctl_elem_id_t* id,
                 snd_ctl_elem_info_t* info) {
    const std::string base(line);
    const char* suffix = kind == ControlKind::Volume ? "Volume" : "Switch";
    const snd_ctl_elem_type_t wanted =
        kind == ControlKind::Volume ? SND_CTL_ELEM_TYPE_INTEGER : SND_CTL_ELEM_TYPE_BOOLEAN;
    for (const std::string& name : {base + " Playback " + suffix, base + " " + suffix}) {
        snd_ctl_elem_id_clear(id);
        snd_ctl_elem_id_set_interface(id, SND_CTL_ELEM_IFACE_MIXER);
        snd_ctl_elem_id_set_name(id, name.c_str());
        snd_ctl_elem_id_set_index(id, 0);
        snd_ctl_elem_info_set_id(info, id);
        if (snd_ctl_elem_info(ctl, info) < 0) continue;
        if (snd_ctl_elem_info_get_type(info) != wanted || snd_ctl_elem_info_get_count(info) == 0) continue;
        if (kind == ControlKind::Volume && snd_ctl_elem_info_get_max(info) <= snd_ctl_elem_info_get_min(info))
            continue;
        snd_ctl_elem_info_get_id(info, id);
        return true;
    }
    return false;
}

// Opens the device, finds the line's control and hands it to `use` while the device is
// open. False when the device cannot be opened or has no such control.
template <typename Use>
bool withControl(const std::string& device, const char* line, ControlKind kind, Use&& use) {
    ControlHandle handle;
    if (snd_ctl_open(&handle.ctl, device.c_str(), 0) < 0) {
        handle.ctl = nullptr;
        return false;
    }
    snd_ctl_elem_id_t* id = nullptr;
    snd_ctl_elem_info_t* info = nullptr;
    snd_ctl_elem_value_t* value = nullptr;
    snd_ctl_elem_id_alloca(&id);
    snd_ctl_elem_info_alloca(&info);
    snd_ctl_elem_value_alloca(&value);
    if (!findControl(handle.ctl, line, kind, id, info)) return false;
    snd_ctl_elem_value_set_id(value, id);
    use(handle.ctl, info, value);
    return true;
}

}  // namespace

AlsaMixerVolume::AlsaMixerVolume(std::string device) : device_(std::move(device)) {
    silenceLibraryErrors();
}

void AlsaMixerVolume::silenceLibraryErrors() {
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(&discardAlsaError); });
}

// The loudest channel stands for the line, as a desktop's own volume control shows it.
// A device that will not give the value reads 0.
std::int32_t AlsaMixerVolume::readVolume(const char* name) {
    std::int32_t result = -1;
    withControl(device_, name, ControlKind::Volume,
                [&](snd_ctl_t* ctl, snd_ctl_elem_info_t* info, snd_ctl_elem_value_t* value) {
                    result = 0;
                    if (snd_ctl_elem_read(ctl, value) < 0) return;
                    const long min = snd_ctl_elem_info_get_min(info);
                    const long max = snd_ctl_elem_info_get_max(info);
                    long loudest = min;
                    const unsigned channels = snd_ctl_elem_info_get_count(info);
                    for (unsigned c = 0; c < channels; ++c)
                        loudest = std::max(loudest, snd_ctl_elem_value_get_integer(value, c));
                    result = mixer_scale::fromElement(loudest, min, max);
                });
    return result;
}

void AlsaMixerVolume::writeVolume(const char* name, std::int32_t volume) {
    withControl(device_, name, ControlKind::Volume,
                [&](snd_ctl_t* ctl, snd_ctl_elem_info_t* info, snd_ctl_elem_value_t* value) {
                    const long raw = mixer_scale::toElement(volume, snd_ctl_elem_info_get_min(info),
                                                            snd_ctl_elem_info_get_max(info));
                    const unsigned channels = snd_ctl_elem_info_get_count(info);
                    for (unsigned c = 0; c < channels; ++c) snd_ctl_elem_value_set_integer(value, c, raw);
                    snd_ctl_elem_write(ctl, value);
                });
}

// Muted when no channel's switch is on. A line without a switch cannot be heard to be
// audible, so it reads as muted; a device that will not give the switch reads unmuted.
bool AlsaMixerVolume::readMute(const char* name) {
    bool muted = true;
    withControl(device_, name, ControlKind::Switch,
                [&](snd_ctl_t* ctl, snd_ctl_elem_info_t* info, snd_ctl_elem_value_t* value) {
                    muted = false;
                    if (snd_ctl_elem_read(ctl, value) < 0) return;
                    bool on = false;
                    const unsigned channels = snd_ctl_elem_info_get_count(info);
                    for (unsigned c = 0; c < channels; ++c) on = on || snd_ctl_elem_value_get_boolean(value, c);
                    muted = !on;
                });
    return muted;
}

void AlsaMixerVolume::writeMute(const char* name, bool muted) {
    withControl(device_, name, ControlKind::Switch,
                [&](snd_ctl_t* ctl, snd_ctl_elem_info_t* info, snd_ctl_elem_value_t* value) {
                    const unsigned channels = snd_ctl_elem_info_get_count(info);
                    for (unsigned c = 0; c < channels; ++c) snd_ctl_elem_value_set_boolean(value, c, muted ? 0 : 1);
                    snd_ctl_elem_write(ctl, value);
                });
}

std::int32_t AlsaMixerVolume::CDVolume() { return readVolume(kCDElement); }
void AlsaMixerVolume::setCDVolume(const std::int32_t& VolumeValue) { writeVolume(kCDElement, VolumeValue); }
bool AlsaMixerVolume::CDMute() { return readMute(kCDElement); }
void AlsaMixerVolume::setCDMute(const bool& VolumeValue) { writeMute(kCDElement, VolumeValue); }
std::int32_t AlsaMixerVolume::MainVolume() { return readVolume(kMasterElement); }
void AlsaMixerVolume::setMainVolume(const std::int32_t& VolumeValue) { writeVolume(kMasterElement, VolumeValue); }
bool AlsaMixerVolume::MainMute() { return readMute(kMasterElement); }
void AlsaMixerVolume::setMainMute(const bool& VolumeValue) { writeMute(kMasterElement, VolumeValue); }

}  // namespace velmora
