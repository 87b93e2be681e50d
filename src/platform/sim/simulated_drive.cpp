#include "platform/sim/simulated_drive.h"

#include "platform/sim/disc_file.h"
#include "shared/units.h"

#include <algorithm>

namespace velmora {

SimulatedDrive::SimulatedDrive(std::shared_ptr<Clock> clock) : clock_(std::move(clock)) {
    if (!clock_) clock_ = std::make_shared<SteadyClock>();
}

int SimulatedDrive::currentFrame() const {
    if (motion_ != Motion::Playing) return position_;
    const std::int64_t elapsedMs = std::max<std::int64_t>(0, clock_->nowMs() - anchorMs_);
    const std::int64_t frame = position_ + elapsedMs * kFramesPerSecond / 1000;
    return static_cast<int>(std::min<std::int64_t>(frame, endFrame_));
}

void SimulatedDrive::settle() {
    if (motion_ != Motion::Playing) return;
    const int frame = currentFrame();
    if (frame >= endFrame_) {
        position_ = endFrame_;
        motion_ = Motion::Stopped;
    }
}

DriveError SimulatedDrive::fail(DriveError error, const char* detail) {
    lastError_ = detail;
    return error;
}

DriveStatus SimulatedDrive::status() {
    std::lock_guard lock(mutex_);
    settle();
    DriveStatus s;
    if (doorOpen_) {
        s.mode = DriveMode::Open;
        return s;
    }
    if (!disc_) {
        s.mode = DriveMode::NotReady;
        return s;
    }
    s.mediaPresent = true;
    s.positionFrame = currentFrame();
    switch (motion_) {
    case Motion::Stopped:
        s.mode = DriveMode::Stopped;
        break;
    case Motion::Playing:
        s.mode = DriveMode::Playing;
        break;
    case Motion::Paused:
        s.mode = DriveMode::Paused;
        break;
    }
    return s;
}

std::optional<DiscToc> SimulatedDrive::toc() {
    std::lock_guard lock(mutex_);
    if (!ready()) return std::nullopt;
    return disc_;
}

DriveError SimulatedDrive::play(int fromFrame, int endFrame) {
    std::lock_guard lock(mutex_);
    if (!ready()) return fail(DriveError::NotReady, "no disc in the drive");
    if (fromFrame < 0 || endFrame > disc_->leadoutFrame || fromFrame > endFrame)
        return fail(DriveError::OutOfRange, "play range outside the disc");
    position_ = fromFrame;
    endFrame_ = endFrame;
    anchorMs_ = clock_->nowMs();
    motion_ = fromFrame < endFrame ? Motion::Playing : Motion::Stopped;
    return DriveError::None;
}

DriveError SimulatedDrive::pause() {
    std::lock_guard lock(mutex_);
    if (!ready()) return fail(DriveError::NotReady, "no disc in the drive");
    settle();
    if (motion_ == Motion::Playing) {
        position_ = currentFrame();
        motion_ = Motion::Paused;
    }
    return DriveError::None;
}

DriveError SimulatedDrive::resume() {
    std::lock_guard lock(mutex_);
    if (!ready()) return fail(DriveError::NotReady, "no disc in the drive");
    settle();
    if (motion_ == Motion::Paused) {
        anchorMs_ = clock_->nowMs();
        motion_ = Motion::Playing;
        return DriveError::None;
    }
    if (motion_ == Motion::Playing) return DriveError::None;
    return fail(DriveError::Hardware, "nothing to resume");
}

DriveError SimulatedDrive::stop() {
    std::lock_guard lock(mutex_);
    if (!ready()) return fail(DriveError::NotReady, "no disc in the drive");
    motion_ = Motion::Stopped;
    position_ = discStart();
    return DriveError::None;
}

DriveError SimulatedDrive::seek(int frame) {
    std::lock_guard lock(mutex_);
    if (!ready()) return fail(DriveError::NotReady, "no disc in the drive");
    if (frame < 0 || frame > disc_->leadoutFrame) return fail(DriveError::OutOfRange, "seek target outside the disc");
    motion_ = Motion::Stopped;
    position_ = frame;
    return DriveError::None;
}

DriveError SimulatedDrive::setDoorOpen(bool open) {
    std::lock_guard lock(mutex_);
    if (open == doorOpen_) return DriveError::None;
    doorOpen_ = open;
    motion_ = Motion::Stopped;
    position_ = disc_ ? discStart() : 0;
    return DriveError::None;
}

std::string SimulatedDrive::lastErrorDetail() const {
    std::lock_guard lock(mutex_);
    return lastError_;
}

void SimulatedDrive::insert(DiscToc toc) {
    std::lock_guard lock(mutex_);
    doorOpen_ = false;
    motion_ = Motion::Stopped;
    if (toc.empty()) {
        disc_.reset();
        position_ = 0;
        return;
    }
    disc_ = std::move(toc);
    position_ = discStart();
}

void SimulatedDrive::remove() {
    std::lock_guard lock(mutex_);
    disc_.reset();
    doorOpen_ = false;
    motion_ = Motion::Stopped;
    position_ = 0;
}

bool SimulatedDrive::setDiscFile(const QString& path, QString* error) {
    DiscFileResult loaded = loadDiscFile(path);
    if (!loaded.toc) {
        remove();
        std::lock_guard lock(mutex_);
        lastError_ = loaded.error.toStdString();
        if (error) *error = loaded.error;
        return false;
    }
    insert(std::move(*loaded.toc));
    return true;
}

}  // namespace velmora
