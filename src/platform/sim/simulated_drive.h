#pragma once

#include "platform/cd_drive.h"
#include "platform/clock.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace velmora {

// A drive that plays a virtual disc in time with a clock. Nothing runs in the background:
// the position is worked out from the clock whenever someone asks, and a play that has
// reached its end turns into "stopped" at that moment.
class SimulatedDrive final : public CdDrive {
public:
    explicit SimulatedDrive(std::shared_ptr<Clock> clock);

    DriveStatus status() override;
    std::optional<DiscToc> toc() override;
    DriveError play(int fromFrame, int endFrame) override;
    DriveError pause() override;
    DriveError resume() override;
    DriveError stop() override;
    DriveError seek(int frame) override;
    DriveError setDoorOpen(bool open) override;
    std::string lastErrorDetail() const override;

    // Test and selection hooks: a disc put in (tray closed, head at the disc start), a disc
    // taken out (tray closed, drive empty), a disc loaded from a .disc file. A file that
    // breaks the rules leaves the drive empty; the message goes to `error` and to
    // lastErrorDetail().
    void insert(DiscToc toc);
    void remove();
    bool setDiscFile(const QString& path, QString* error = nullptr);

private:
    enum class Motion { Stopped, Playing, Paused };

    // Brings a running play up to the clock; stops it when it has reached its end.
    void settle();
    int currentFrame() const;
    bool ready() const { return disc_.has_value() && !doorOpen_; }
    int discStart() const { return disc_->tracks.front().startFrame; }
    DriveError fail(DriveError error, const char* detail);

    mutable std::mutex mutex_;
    std::shared_ptr<Clock> clock_;
    std::optional<DiscToc> disc_;  // stays while the tray is open, so closing brings it back
    bool doorOpen_ = false;
    Motion motion_ = Motion::Stopped;
    int position_ = 0;  // while playing: the frame at anchorMs_
    int endFrame_ = 0;  // a play stops here
    std::int64_t anchorMs_ = 0;
    std::string lastError_;
};

}  // namespace velmora
