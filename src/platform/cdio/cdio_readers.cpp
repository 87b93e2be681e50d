#include "platform/cdio/cdio_handle.h"

#include <cdio/logging.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace velmora {

namespace {

std::mutex logMutex;
std::string lastLogMessage;

void collectLog(cdio_log_level_t level, const char message[]) {
    if (level < CDIO_LOG_WARN) return;
    std::lock_guard lock(logMutex);
    lastLogMessage = message ? message : "";
    if (std::getenv("VELMORA_CDIO_DEBUG")) std::cerr << "libcdio: " << lastLogMessage << '\n';
}

constexpr const char* kRemoved = "The disc was removed while playing";

// Reads for the playback engine over the drive's handle: plain reads (one sector at a
// time when a batch fails, so one bad sector costs 1/75 s, not the whole batch), or
// error-correcting ones. Between sectors it gives up as soon as the handle is reopened
// or an eject is asked for, so a retrying read never holds the handle for long.
class HandleReader final : public SectorReader {
public:
    HandleReader(std::shared_ptr<CdioHandle> handle, bool corrected, int speed)
        : handle_(std::move(handle)), version_(handle_->version), corrected_(corrected), speed_(speed) {}

    SectorReadResult read(int frame, int count, std::uint8_t* out) override {
        std::lock_guard lock(handle_->mutex);
        CdDevice& device = *handle_->device;
        if (stale() || !device.isOpen()) return gone(kRemoved);
        const int lsn = frame - 150;
        if (!corrected_ && device.readSectors(lsn, count, out)) return SectorReadResult::Ok;
        bool damaged = false, any = false;
        for (int i = 0; i < count; ++i) {
            if (i > 0 && stale()) return gone(kRemoved);
            std::uint8_t* sector = out + std::size_t(i) * kSectorBytes;
            if (corrected_) {
                const CdDevice::SectorResult r = device.readCorrected(lsn + i, sector, speed_);
                if (r == CdDevice::SectorResult::CannotRead) return gone("The drive cannot read audio digitally");
                damaged = damaged || r == CdDevice::SectorResult::Damaged;
            } else if (device.readSectors(lsn + i, 1, sector)) {
                any = true;
            } else {
                std::memset(sector, 0, kSectorBytes);
                damaged = true;
            }
        }
        // The disc may be gone rather than damaged; a change read here is the drive's to
        // act on too, as the flag clears when read.
        if (damaged && (corrected_ || !any) && device.mediaChanged() == 1) {
            handle_->changeSeen = true;
            return gone(kRemoved);
        }
        return damaged ? SectorReadResult::Damaged : SectorReadResult::Ok;
    }
    std::string lastError() const override { return error_; }

private:
    bool stale() const { return handle_->version != version_; }
    SectorReadResult gone(const char* why) {
        error_ = why;
        return SectorReadResult::NoMedia;
    }

    std::shared_ptr<CdioHandle> handle_;
    const unsigned version_;
    const bool corrected_;
    const int speed_;
    std::string error_;
};

}  // namespace

void installCdioLogCapture() {
    static std::once_flag once;
    std::call_once(once, [] { cdio_log_set_handler(collectLog); });
}

std::string takeCdioLogMessage() {
    std::lock_guard lock(logMutex);
    std::string message = std::move(lastLogMessage);
    lastLogMessage.clear();
    return message;
}

std::shared_ptr<SectorReader> makePlainReader(std::shared_ptr<CdioHandle> handle) {
    return std::make_shared<HandleReader>(std::move(handle), false, 0);
}

std::shared_ptr<SectorReader> makeParanoiaReader(std::shared_ptr<CdioHandle> handle, int speed) {
    return std::make_shared<HandleReader>(std::move(handle), true, speed);
}

}  // namespace velmora
