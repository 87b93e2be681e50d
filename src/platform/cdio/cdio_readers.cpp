#include "platform/cdio/cdio_handle.h"

#include <cdio/logging.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

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

class PlainReader final : public CdioSectorReader {
public:
    explicit PlainReader(std::shared_ptr<CdioHandle> handle)
        : handle_(std::move(handle)), version_(handle_->version) {}

    SectorReadResult read(int frame, int count, std::uint8_t* out) override {
        std::lock_guard lock(handle_->mutex);
        if (!handle_->cdio || handle_->version != version_) {
            error_ = "The disc was removed while playing";
            return SectorReadResult::NoMedia;
        }
        const lsn_t lsn = frame - 150;
        if (cdio_read_audio_sectors(handle_->cdio, out, lsn, static_cast<unsigned>(count)) ==
            DRIVER_OP_SUCCESS)
            return SectorReadResult::Ok;
        // Try one sector at a time so one bad sector costs 1/75 s, not the whole batch.
        bool any = false;
        for (int i = 0; i < count; ++i) {
            std::uint8_t* sector = out + std::size_t(i) * kSectorBytes;
            if (cdio_read_audio_sectors(handle_->cdio, sector, lsn + i, 1) == DRIVER_OP_SUCCESS)
                any = true;
            else
                std::memset(sector, 0, kSectorBytes);
        }
        if (!any && cdio_get_media_changed(handle_->cdio) == 1) {
            error_ = "The disc was removed while playing";
            return SectorReadResult::NoMedia;
        }
        return SectorReadResult::Damaged;
    }
    std::string lastError() const override { return error_; }

private:
    std::shared_ptr<CdioHandle> handle_;
    unsigned version_;
    std::string error_;
};

class ParanoiaReader final : public CdioSectorReader {
public:
    ParanoiaReader(std::shared_ptr<CdioHandle> handle, int speed)
        : handle_(std::move(handle)), version_(handle_->version), speed_(speed) {}
    ~ParanoiaReader() override { releaseLocked(); }

    void releaseLocked() override {
        if (paranoia_) cdio_paranoia_free(paranoia_);
        if (drive_) cdio_cddap_close_no_free_cdio(drive_);
        paranoia_ = nullptr;
        drive_ = nullptr;
    }

    SectorReadResult read(int frame, int count, std::uint8_t* out) override {
        std::lock_guard lock(handle_->mutex);
        if (!handle_->cdio || handle_->version != version_) {
            error_ = "The disc was removed while playing";
            return SectorReadResult::NoMedia;
        }
        if (!paranoia_ && !init()) return SectorReadResult::NoMedia;
        const lsn_t lsn = frame - 150;
        if (lsn != next_) {
            cdio_paranoia_seek(paranoia_, lsn, SEEK_SET);
            next_ = lsn;
        }
        bool damaged = false;
        for (int i = 0; i < count; ++i) {
            // A few retries, then paranoia hands back its best guess and moves on.
            const std::int16_t* data = cdio_paranoia_read_limited(paranoia_, nullptr, 3);
            std::uint8_t* sector = out + std::size_t(i) * kSectorBytes;
            if (data) {
                std::memcpy(sector, data, kSectorBytes);
            } else {
                std::memset(sector, 0, kSectorBytes);
                damaged = true;
                cdio_paranoia_seek(paranoia_, next_ + 1, SEEK_SET);
            }
            ++next_;
        }
        if (damaged && cdio_get_media_changed(handle_->cdio) == 1) {
            error_ = "The disc was removed while playing";
            return SectorReadResult::NoMedia;
        }
        return damaged ? SectorReadResult::Damaged : SectorReadResult::Ok;
    }
    std::string lastError() const override { return error_; }

private:
    bool init() {
        char* messages = nullptr;
        drive_ = cdio_cddap_identify_cdio(handle_->cdio, CDDA_MESSAGE_FORGETIT, &messages);
        if (messages) cdio_cddap_free_messages(messages);
        if (!drive_ || cdio_cddap_open(drive_) != 0) {
            error_ = "The drive cannot read audio digitally";
            if (drive_) cdio_cddap_close_no_free_cdio(drive_);
            drive_ = nullptr;
            return false;
        }
        // Quiet: audio needs 1x; a low multiple leaves room for retries without the
        // whine of full speed.
        cdio_cddap_speed_set(drive_, speed_);
        paranoia_ = cdio_paranoia_init(drive_);
        cdio_paranoia_modeset(paranoia_, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
        next_ = -1000;
        return true;
    }

    std::shared_ptr<CdioHandle> handle_;
    unsigned version_;
    int speed_;
    cdrom_drive_t* drive_ = nullptr;
    cdrom_paranoia_t* paranoia_ = nullptr;
    lsn_t next_ = -1000;
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

std::shared_ptr<CdioSectorReader> makePlainReader(std::shared_ptr<CdioHandle> handle) {
    return std::make_shared<PlainReader>(std::move(handle));
}

std::shared_ptr<CdioSectorReader> makeParanoiaReader(std::shared_ptr<CdioHandle> handle, int speed) {
    return std::make_shared<ParanoiaReader>(std::move(handle), speed);
}

}  // namespace velmora
