#include "platform/cdio/cd_device.h"
#include "shared/clean_text.h"

#include <cdio/cdio.h>
// After cdio.h, which they need first.
#include <cdio/audio.h>
#include <cdio/cdtext.h>
#include <cdio/mmc.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <QStringDecoder>

#include <cstring>

namespace velmora {

namespace {

constexpr int kSectorBytes = 2352;

CdDevice::Result resultOf(driver_return_code_t rc) {
    if (rc == DRIVER_OP_SUCCESS) return CdDevice::Result::Ok;
    return rc == DRIVER_OP_UNSUPPORTED ? CdDevice::Result::Unsupported : CdDevice::Result::Failed;
}

class CdioDevice final : public CdDevice {
public:
    CdioDevice(std::string path, CdioSource source) : path_(std::move(path)), source_(source) {}
    ~CdioDevice() override { close(); }

    bool open(const std::string& source) override {
        close();
        const driver_id_t driver = source_ == CdioSource::BinCue   ? DRIVER_BINCUE
                                   : source_ == CdioSource::Cdrdao ? DRIVER_CDRDAO
                                                                   : DRIVER_DEVICE;
        cdio_ = cdio_open(source.c_str(), driver);
        return cdio_ != nullptr;
    }

    void close() override {
        if (paranoia_) cdio_paranoia_free(paranoia_);
        if (drive_) cdio_cddap_close_no_free_cdio(drive_);
        paranoia_ = nullptr;
        drive_ = nullptr;
        if (cdio_) cdio_destroy(cdio_);
        cdio_ = nullptr;
    }

    bool isOpen() const override { return cdio_ != nullptr; }

    int firstTrack() override { return trackNumber(cdio_get_first_track_num(cdio_)); }
    int lastTrack() override { return trackNumber(cdio_get_last_track_num(cdio_)); }

    std::optional<int> trackLsn(int track) override {
        const lsn_t lsn = cdio_get_track_lsn(cdio_, static_cast<track_t>(track));
        if (lsn == CDIO_INVALID_LSN) return std::nullopt;
        return lsn;
    }

    bool trackIsAudio(int track) override {
        return cdio_get_track_format(cdio_, static_cast<track_t>(track)) == TRACK_FORMAT_AUDIO;
    }

    DiscText cdText() override {
        DiscText text;
        cdtext_t* cdtext = cdio_ ? cdio_get_cdtext(cdio_) : nullptr;
        if (!cdtext) return text;
        const auto field = [cdtext](cdtext_field_t key, track_t track) {
            const char* value = cdtext_get_const(cdtext, key, track);
            return value ? cdTextValue(value) : QString();
        };
        text.title = field(CDTEXT_FIELD_TITLE, 0);
        text.performer = field(CDTEXT_FIELD_PERFORMER, 0);
        const int first = firstTrack();
        const int last = lastTrack();
        for (int t = first; first > 0 && t <= last; ++t)
            text.trackTitles.push_back(field(CDTEXT_FIELD_TITLE, static_cast<track_t>(t)));
        return text;
    }

    int mediaChanged() override { return cdio_ ? cdio_get_media_changed(cdio_) : -1; }
    int trayStatus() override { return cdio_ ? mmc_get_tray_status(cdio_) : -1; }

    bool readSectors(int lsn, int count, std::uint8_t* out) override {
        return cdio_ && cdio_read_audio_sectors(cdio_, out, lsn, static_cast<unsigned>(count)) == DRIVER_OP_SUCCESS;
    }

    SectorResult readCorrected(int lsn, std::uint8_t* out, int speed) override {
        if (!paranoia_ && !startParanoia(speed)) return SectorResult::CannotRead;
        if (lsn != next_) {
            cdio_paranoia_seek(paranoia_, lsn, SEEK_SET);
            next_ = lsn;
        }
        // A few retries, then paranoia hands back its best guess and moves on.
        const std::int16_t* data = cdio_paranoia_read_limited(paranoia_, nullptr, 3);
        ++next_;
        if (data) {
            std::memcpy(out, data, kSectorBytes);
            return SectorResult::Ok;
        }
        std::memset(out, 0, kSectorBytes);
        cdio_paranoia_seek(paranoia_, next_, SEEK_SET);
        return SectorResult::Damaged;
    }

    Result eject() override { return resultOf(cdio_eject_media_drive(path_.c_str())); }

    Result closeTray() override {
        driver_id_t driver = DRIVER_DEVICE;
        return resultOf(cdio_close_tray(path_.c_str(), &driver));
    }

    Result audioPlay(int fromLsn, int endLsn) override {
        if (!cdio_) return Result::Failed;
        msf_t a, b;
        cdio_lsn_to_msf(fromLsn, &a);
        cdio_lsn_to_msf(endLsn, &b);
        return resultOf(cdio_audio_play_msf(cdio_, &a, &b));
    }

    Result audio(AudioCall call) override {
        if (!cdio_) return Result::Failed;
        switch (call) {
        case AudioCall::Pause:
            return resultOf(cdio_audio_pause(cdio_));
        case AudioCall::Resume:
            return resultOf(cdio_audio_resume(cdio_));
        case AudioCall::Stop:
            return resultOf(cdio_audio_stop(cdio_));
        }
        return Result::Failed;
    }

    bool audioStatus(AudioState* state, int* absFrame) override {
        cdio_subchannel_t sub{};
        if (!cdio_ || cdio_audio_read_subchannel(cdio_, &sub) != DRIVER_OP_SUCCESS) return false;
        *state = sub.audio_status == CDIO_MMC_READ_SUB_ST_PLAY     ? AudioState::Playing
                 : sub.audio_status == CDIO_MMC_READ_SUB_ST_PAUSED ? AudioState::Paused
                                                                   : AudioState::Stopped;
        *absFrame = cdio_msf_to_lba(&sub.abs_addr);
        return true;
    }

private:
    static int trackNumber(track_t t) { return t == CDIO_INVALID_TRACK ? 0 : t; }

    bool startParanoia(int speed) {
        if (!cdio_) return false;
        char* messages = nullptr;
        drive_ = cdio_cddap_identify_cdio(cdio_, CDDA_MESSAGE_FORGETIT, &messages);
        if (messages) cdio_cddap_free_messages(messages);
        if (!drive_ || cdio_cddap_open(drive_) != 0) {
            if (drive_) cdio_cddap_close_no_free_cdio(drive_);
            drive_ = nullptr;
            return false;
        }
        // Quiet: audio needs 1x; a low multiple leaves room for retries without the
        // whine of full speed.
        cdio_cddap_speed_set(drive_, speed);
        paranoia_ = cdio_paranoia_init(drive_);
        cdio_paranoia_modeset(paranoia_, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
        next_ = -1000;
        return true;
    }

    const std::string path_;
    const CdioSource source_;
    CdIo_t* cdio_ = nullptr;
    cdrom_drive_t* drive_ = nullptr;
    cdrom_paranoia_t* paranoia_ = nullptr;
    lsn_t next_ = -1000;
};

}  // namespace

QString cdTextValue(const char* value) {
    const QByteArray bytes(value);
    QString text = QString::fromUtf8(bytes);
    if (text.contains(QChar::ReplacementCharacter)) return cleanExternalText(QString::fromLatin1(bytes)).trimmed();
    bool latin1 = true;
    bool wide = false;
    for (const QChar c : text) {
        latin1 = latin1 && c.unicode() <= 0xFF;
        wide = wide || c.unicode() >= 0x80;
    }
    if (latin1 && wide) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString once = utf8(text.toLatin1());
        if (!utf8.hasError()) text = once;
    }
    return cleanExternalText(text).trimmed();
}

std::shared_ptr<CdDevice> makeCdioDevice(std::string path, CdioSource source) {
    return std::make_shared<CdioDevice>(std::move(path), source);
}

}  // namespace velmora
