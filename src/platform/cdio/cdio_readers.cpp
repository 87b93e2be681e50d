#include "platform/cdio/cdio_handle.h"

#include <cdio/logging.h>

#include <cstdio>
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
// or an eject is asked for, so a retrying read never holds the handle for long. An image
// has no scratches: a sector it cannot give means its data file changed or failed, and
// playback ends with the reason.
class HandleReader final : public SectorReader {
public:
    enum class Source { Drive, CorrectedDrive, Image };

    HandleReader(std::shared_ptr<CdioHandle> handle, Source source, int speed, std::string imageName = {})
        : handle_(std::move(handle)),
          version_(handle_->version),
          corrected_(source == Source::CorrectedDrive),
          image_(source == Source::Image),
          speed_(speed),
          imageName_(std::move(imageName)) {}

    SectorReadResult read(int frame, int count, std::uint8_t* out) override {
        std::lock_guard lock(handle_->mutex);
        CdDevice& device = *handle_->device;
        if (stale() || !device.isOpen()) return gone(kRemoved);
        const int lsn = frame - 150;
        if (image_) {
            // libcdio reports a read that stops short at the end of an image's data as
            // done: the batch's last sector read alone tells.
            const bool whole = device.readSectors(lsn, count, out) &&
                               device.readSectors(lsn + count - 1, 1, out + std::size_t(count - 1) * kSectorBytes);
            return whole ? SectorReadResult::Ok : imageFailed(frame);
        }
        if (!corrected_ && device.readSectors(lsn, count, out)) return SectorReadResult::Ok;
        bool damaged = false, any = false;
        for (int i = 0; i < count; ++i) {
            if (i > 0 && stale()) return gone(kRemoved);
            std::uint8_t* sector = out + std::size_t(i) * kSectorBytes;
            if (corrected_) {
                const CdDevice::SectorResult r = device.readCorrected(lsn + i, sector, speed_);
                if (r == CdDevice::SectorResult::CannotRead) {
                    error_ = "Playback stopped: the drive cannot read audio digitally";
                    return SectorReadResult::Failed;
                }
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
    // Under the handle's mutex.
    SectorReadResult imageFailed(int frame) {
        handle_->readFailed = true;
        char at[32];
        std::snprintf(at, sizeof at, "%02d:%02d", frame / 75 / 60, frame / 75 % 60);
        error_ = "The disc image stopped: " + imageName_ + " cannot be read from " + at +
                 " on (its data file has changed or cannot be read)";
        const std::string log = takeCdioLogMessage();
        if (!log.empty()) error_ += " (" + log + ")";
        return SectorReadResult::Failed;
    }

    std::shared_ptr<CdioHandle> handle_;
    const unsigned version_;
    const bool corrected_;
    const bool image_;
    const int speed_;
    const std::string imageName_;
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
    return std::make_shared<HandleReader>(std::move(handle), HandleReader::Source::Drive, 0);
}

std::shared_ptr<SectorReader> makeImageReader(std::shared_ptr<CdioHandle> handle, std::string name) {
    return std::make_shared<HandleReader>(std::move(handle), HandleReader::Source::Image, 0, std::move(name));
}

std::shared_ptr<SectorReader> makeParanoiaReader(std::shared_ptr<CdioHandle> handle, int speed) {
    return std::make_shared<HandleReader>(std::move(handle), HandleReader::Source::CorrectedDrive, speed);
}

}  // namespace velmora
