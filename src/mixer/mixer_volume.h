#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace velmora {

// The master (speakers) and CD lines of the desktop's mixer. Every read gives the mixer's
// value of the moment, whatever changed it. Reads of a missing mixer, line or control give
// -1 for a volume and true for a mute; writes to them do nothing.
class CMixerVolume {
public:
    virtual ~CMixerVolume() = default;

    virtual std::int32_t CDVolume() = 0;
    virtual void setCDVolume(const std::int32_t& VolumeValue) = 0;
    virtual bool CDMute() = 0;
    virtual void setCDMute(const bool& VolumeValue) = 0;
    virtual std::int32_t MainVolume() = 0;
    virtual void setMainVolume(const std::int32_t& VolumeValue) = 0;
    virtual bool MainMute() = 0;
    virtual void setMainMute(const bool& VolumeValue) = 0;
};

// Makes the mixer on first use; may give none (no mixer at all).
using MixerFactory = std::function<std::unique_ptr<CMixerVolume>()>;

}  // namespace velmora
