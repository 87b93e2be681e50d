#pragma once

// A scripted drive under CdioDrive: a disc in a tray, the media-changed flag that the
// kernel keeps until it is asked, a handle that goes stale when the disc changes, and
// reads that can fail, stall until released, or find a drive that cannot read audio.
// Like the kernel it refuses to eject while its handle is open.

#include "platform/cd_drive.h"
#include "platform/cdio/cd_device.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

namespace velmora::cdiotest {

class FakeCdDevice final : public CdDevice {
public:
    explicit FakeCdDevice(std::optional<DiscToc> disc) : disc_(std::move(disc)) {}

    // The script, from the test's thread.
    void insert(std::optional<DiscToc> disc) {  // by hand, the tray staying shut
        std::lock_guard lock(mu_);
        disc_ = std::move(disc);
        changed_ = stale_ = true;
    }
    void setReadsAudio(bool yes) { readsAudio_ = yes; }
    void setSectorDelayMs(int ms) { sectorDelayMs_ = ms; }  // every sector read takes this long
    void setSectorsFail(bool yes) { sectorsFail_ = yes; }
    void setMounted(bool yes) { mounted_ = yes; }  // someone else holds it: ejects fail
    void stallReads() { stalled_ = true; }
    void releaseReads() {
        stalled_ = false;
        stalled_.notify_all();
    }

    int opens() const { return opens_; }
    int reads() const { return reads_; }
    int ejects() const { return ejects_; }
    int refusedEjects() const { return refusedEjects_; }

    // CdDevice, called under the drive's handle lock.
    bool open(const std::string&) override {
        std::lock_guard lock(mu_);
        ++opens_;
        open_ = true;
        stale_ = false;
        handleToc_ = trayOpen_ ? std::nullopt : disc_;
        return true;
    }
    void close() override {
        std::lock_guard lock(mu_);
        open_ = false;
        handleToc_.reset();
    }
    bool isOpen() const override { return open_; }
    int firstTrack() override {
        std::lock_guard lock(mu_);
        return handleToc_ ? handleToc_->firstTrack() : 0;
    }
    int lastTrack() override {
        std::lock_guard lock(mu_);
        return handleToc_ ? handleToc_->lastTrack() : 0;
    }
    std::optional<int> trackLsn(int track) override {
        std::lock_guard lock(mu_);
        if (!handleToc_) return std::nullopt;
        if (track == kLeadoutTrack) return handleToc_->leadoutFrame - kLeadInFrames;
        const TocTrack* t = handleToc_->track(track);
        return t ? std::optional<int>(t->startFrame - kLeadInFrames) : std::nullopt;
    }
    bool trackIsAudio(int track) override {
        std::lock_guard lock(mu_);
        const TocTrack* t = handleToc_ ? handleToc_->track(track) : nullptr;
        return t && t->audio;
    }
    int mediaChanged() override { return changed_.exchange(false) ? 1 : 0; }
    int trayStatus() override { return trayOpen_ ? 1 : 0; }
    bool readSectors(int lsn, int count, std::uint8_t* out) override {
        for (int i = 0; i < count; ++i)
            if (readOne(lsn + i, out + std::size_t(i) * 2352) != SectorResult::Ok) return false;
        return true;
    }
    SectorResult readCorrected(int lsn, std::uint8_t* out, int) override {
        if (!readsAudio_) return SectorResult::CannotRead;
        return readOne(lsn, out);
    }
    Result eject() override {
        std::lock_guard lock(mu_);
        if (open_) {
            ++refusedEjects_;
            return Result::Failed;
        }
        if (mounted_) return Result::Failed;
        ++ejects_;
        trayOpen_ = true;
        changed_ = true;
        return Result::Ok;
    }
    Result closeTray() override {
        std::lock_guard lock(mu_);
        trayOpen_ = false;
        changed_ = true;
        return Result::Ok;
    }
    Result audioPlay(int, int) override { return Result::Unsupported; }
    Result audio(AudioCall) override { return Result::Unsupported; }
    bool audioStatus(AudioState*, int*) override { return false; }

private:
    SectorResult readOne(int lsn, std::uint8_t* out) {
        ++reads_;
        if (sectorDelayMs_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(sectorDelayMs_));
        stalled_.wait(true);
        std::lock_guard lock(mu_);
        std::memset(out, 0, 2352);
        if (!open_ || stale_ || !handleToc_ || sectorsFail_) return SectorResult::Damaged;
        auto* s = reinterpret_cast<std::int16_t*>(out);
        for (int i = 0; i < 588; ++i) s[2 * i] = static_cast<std::int16_t>(lsn + kLeadInFrames);
        return SectorResult::Ok;
    }

    mutable std::mutex mu_;
    std::optional<DiscToc> disc_;       // in the drive
    std::optional<DiscToc> handleToc_;  // what the open handle read
    bool stale_ = false;
    std::atomic<bool> open_{false}, changed_{false}, trayOpen_{false};
    std::atomic<bool> readsAudio_{true}, sectorsFail_{false}, mounted_{false}, stalled_{false};
    std::atomic<int> sectorDelayMs_{0};
    std::atomic<int> opens_{0}, reads_{0}, ejects_{0}, refusedEjects_{0};
};

}  // namespace velmora::cdiotest
