#include "mixer/alsa_mixer_volume.h"

#include "mixer/mixer_scale.h"

#include <alsa/asoundlib.h>

#include <mutex>
#include <utility>

namespace velmora {

namespace {

constexpr const char* kMasterElement = "Master";
constexpr const char* kCDElement = "CD";

void discardAlsaError(const char*, int, const char*, int, const char*, ...) {}

// Closes the mixer however the access ends.
struct MixerHandle {
    snd_mixer_t* mixer = nullptr;
    MixerHandle() = default;
    MixerHandle(const MixerHandle&) = delete;
    MixerHandle& operator=(const MixerHandle&) = delete;
    ~MixerHandle() {
        if (mixer) snd_mixer_close(mixer);
    }
};

// Opens the device's simple mixer, finds the element and hands it to `use` while the mixer
// is open. False when the mixer cannot be opened or has no such element.
template <typename Use>
bool withElement(const std::string& device, const char* name, Use&& use) {
    MixerHandle handle;
    if (snd_mixer_open(&handle.mixer, 0) < 0) {
        handle.mixer = nullptr;
        return false;
    }
    if (snd_mixer_attach(handle.mixer, device.c_str()) < 0) return false;
    if (snd_mixer_selem_register(handle.mixer, nullptr, nullptr) < 0) return false;
    if (snd_mixer_load(handle.mixer) < 0) return false;

    snd_mixer_selem_id_t* id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_index(id, 0);
    snd_mixer_selem_id_set_name(id, name);
    snd_mixer_elem_t* element = snd_mixer_find_selem(handle.mixer, id);
    if (!element) return false;
    use(element);
    return true;
}

bool playbackRange(snd_mixer_elem_t* element, long& min, long& max) {
    if (!snd_mixer_selem_has_playback_volume(element)) return false;
    if (snd_mixer_selem_get_playback_volume_range(element, &min, &max) < 0) return false;
    return max > min;
}

template <typename Visit>
void forEachPlaybackChannel(snd_mixer_elem_t* element, Visit&& visit) {
    for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
        const auto channel = static_cast<snd_mixer_selem_channel_id_t>(c);
        if (snd_mixer_selem_has_playback_channel(element, channel)) visit(channel);
    }
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
// A device that will not give any channel's value reads 0.
std::int32_t AlsaMixerVolume::readVolume(const char* name) {
    std::int32_t result = -1;
    withElement(device_, name, [&](snd_mixer_elem_t* element) {
        long min = 0, max = 0;
        if (!playbackRange(element, min, max)) return;
        bool any = false;
        long loudest = min;
        forEachPlaybackChannel(element, [&](snd_mixer_selem_channel_id_t channel) {
            long value = 0;
            if (snd_mixer_selem_get_playback_volume(element, channel, &value) < 0) return;
            if (!any || value > loudest) loudest = value;
            any = true;
        });
        result = any ? mixer_scale::fromElement(loudest, min, max) : 0;
    });
    return result;
}

void AlsaMixerVolume::writeVolume(const char* name, std::int32_t volume) {
    withElement(device_, name, [&](snd_mixer_elem_t* element) {
        long min = 0, max = 0;
        if (!playbackRange(element, min, max)) return;
        snd_mixer_selem_set_playback_volume_all(element, mixer_scale::toElement(volume, min, max));
    });
}

// Muted when no channel's switch is on. A line without a switch cannot be heard to be
// audible, so it reads as muted; a device that will not give the switch reads unmuted.
bool AlsaMixerVolume::readMute(const char* name) {
    bool muted = true;
    withElement(device_, name, [&](snd_mixer_elem_t* element) {
        if (!snd_mixer_selem_has_playback_switch(element)) return;
        bool any = false;
        bool on = false;
        forEachPlaybackChannel(element, [&](snd_mixer_selem_channel_id_t channel) {
            int value = 0;
            if (snd_mixer_selem_get_playback_switch(element, channel, &value) < 0) return;
            any = true;
            on = on || value != 0;
        });
        muted = any && !on;
    });
    return muted;
}

void AlsaMixerVolume::writeMute(const char* name, bool muted) {
    withElement(device_, name, [&](snd_mixer_elem_t* element) {
        if (!snd_mixer_selem_has_playback_switch(element)) return;
        snd_mixer_selem_set_playback_switch_all(element, muted ? 0 : 1);
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
