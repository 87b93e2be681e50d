#include "mixer/alsa_mixer_volume.h"

#include "mixer/mixer_scale.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <map>
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

// What a lookup tells: the control, no such control, or a device that no longer answers.
enum class Lookup { Found, Missing, Broken };

Lookup findControl(snd_ctl_t* ctl, const char* line, ControlKind kind, snd_ctl_elem_id_t* id,
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
        if (const int err = snd_ctl_elem_info(ctl, info); err < 0) {
            if (err == -ENOENT || err == -EINVAL) continue;
            return Lookup::Broken;
        }
        if (snd_ctl_elem_info_get_type(info) != wanted || snd_ctl_elem_info_get_count(info) == 0) continue;
        if (kind == ControlKind::Volume && snd_ctl_elem_info_get_max(info) <= snd_ctl_elem_info_get_min(info)) continue;
        snd_ctl_elem_info_get_id(info, id);
        return Lookup::Found;
    }
    return Lookup::Missing;
}

}  // namespace

// A control found on the kept device, with what its info said (on a sound server each
// info is a round trip, so it is asked once per device).
struct AlsaMixerVolume::Found {
    snd_ctl_elem_id_t* id = nullptr;
    snd_ctl_elem_info_t* info = nullptr;
    Found() {
        snd_ctl_elem_id_malloc(&id);
        snd_ctl_elem_info_malloc(&info);
    }
    ~Found() {
        snd_ctl_elem_info_free(info);
        snd_ctl_elem_id_free(id);
    }
    Found(const Found&) = delete;
    Found& operator=(const Found&) = delete;
};

struct AlsaMixerVolume::Kept {
    snd_ctl_t* ctl = nullptr;
    std::chrono::steady_clock::time_point openedAt;
    std::map<std::pair<std::string, int>, std::unique_ptr<Found>> found;
    ~Kept() {
        found.clear();
        if (ctl) snd_ctl_close(ctl);
    }
};

AlsaMixerVolume::AlsaMixerVolume(std::string device) : device_(std::move(device)) { silenceLibraryErrors(); }

AlsaMixerVolume::~AlsaMixerVolume() = default;

// `use` gets the device, the control's info and a value set to its id, and returns the
// ALSA result of its read or write. A failure on a device kept from before may only mean
// that the server went away or restarted since: one more try on a fresh one.
template <typename Use>
AlsaMixerVolume::Access AlsaMixerVolume::withControl(const char* element, int kind, Use&& use) {
    const auto now = std::chrono::steady_clock::now();
    if (kept_ && now - kept_->openedAt >= kKeepFor) kept_.reset();
    for (int attempt = 0; attempt < 2; ++attempt) {
        const bool fresh = !kept_;
        if (fresh) {
            auto kept = std::make_unique<Kept>();
            if (snd_ctl_open(&kept->ctl, device_.c_str(), 0) < 0) {
                kept->ctl = nullptr;
                return Access::Missing;
            }
            kept->openedAt = now;
            kept_ = std::move(kept);
        }
        const auto key = std::make_pair(std::string(element), kind);
        auto it = kept_->found.find(key);
        if (it == kept_->found.end()) {
            auto found = std::make_unique<Found>();
            const Lookup lookup =
                findControl(kept_->ctl, element, static_cast<ControlKind>(kind), found->id, found->info);
            if (lookup == Lookup::Missing) return Access::Missing;
            if (lookup == Lookup::Broken) {
                kept_.reset();
                if (fresh) return Access::Missing;
                continue;
            }
            it = kept_->found.emplace(key, std::move(found)).first;
        }
        snd_ctl_elem_value_t* value = nullptr;
        snd_ctl_elem_value_alloca(&value);
        snd_ctl_elem_value_set_id(value, it->second->id);
        if (use(kept_->ctl, it->second->info, value) >= 0) return Access::Done;
        kept_.reset();
        if (fresh) return Access::Failed;
    }
    return Access::Failed;
}

void AlsaMixerVolume::silenceLibraryErrors() {
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(&discardAlsaError); });
}

// The loudest channel stands for the line, as a desktop's own volume control shows it.
// A device that will not give the value reads 0.
std::int32_t AlsaMixerVolume::readVolume(const char* name) {
    std::int32_t result = 0;
    const Access access = withControl(name, int(ControlKind::Volume),
                                      [&](snd_ctl_t* ctl, snd_ctl_elem_info_t* info, snd_ctl_elem_value_t* value) {
                                          if (const int err = snd_ctl_elem_read(ctl, value); err < 0) return err;
                                          const long min = snd_ctl_elem_info_get_min(info);
                                          const long max = snd_ctl_elem_info_get_max(info);
                                          long loudest = min;
                                          const unsigned channels = snd_ctl_elem_info_get_count(info);
                                          for (unsigned c = 0; c < channels; ++c)
                                              loudest = std::max(loudest, snd_ctl_elem_value_get_integer(value, c));
                                          result = mixer_scale::fromElement(loudest, min, max);
                                          return 0;
                                      });
    if (access == Access::Missing) return -1;
    return access == Access::Done ? result : 0;
}

void AlsaMixerVolume::writeVolume(const char* name, std::int32_t volume) {
    withControl(
        name, int(ControlKind::Volume), [&](snd_ctl_t* ctl, snd_ctl_elem_info_t* info, snd_ctl_elem_value_t* value) {
            const long raw =
                mixer_scale::toElement(volume, snd_ctl_elem_info_get_min(info), snd_ctl_elem_info_get_max(info));
            const unsigned channels = snd_ctl_elem_info_get_count(info);
            for (unsigned c = 0; c < channels; ++c) snd_ctl_elem_value_set_integer(value, c, raw);
            return snd_ctl_elem_write(ctl, value);
        });
}

// Muted when no channel's switch is on. A line without a switch cannot be heard to be
// audible, so it reads as muted; a device that will not give the switch reads unmuted.
bool AlsaMixerVolume::readMute(const char* name) {
    bool muted = false;
    const Access access = withControl(name, int(ControlKind::Switch),
                                      [&](snd_ctl_t* ctl, snd_ctl_elem_info_t* info, snd_ctl_elem_value_t* value) {
                                          if (const int err = snd_ctl_elem_read(ctl, value); err < 0) return err;
                                          bool on = false;
                                          const unsigned channels = snd_ctl_elem_info_get_count(info);
                                          for (unsigned c = 0; c < channels; ++c)
                                              on = on || snd_ctl_elem_value_get_boolean(value, c);
                                          muted = !on;
                                          return 0;
                                      });
    if (access == Access::Missing) return true;
    return access == Access::Done && muted;
}

void AlsaMixerVolume::writeMute(const char* name, bool muted) {
    withControl(name, int(ControlKind::Switch),
                [&](snd_ctl_t* ctl, snd_ctl_elem_info_t* info, snd_ctl_elem_value_t* value) {
                    const unsigned channels = snd_ctl_elem_info_get_count(info);
                    for (unsigned c = 0; c < channels; ++c) snd_ctl_elem_value_set_boolean(value, c, muted ? 0 : 1);
                    return snd_ctl_elem_write(ctl, value);
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
