#pragma once

#include "shared/disc_text.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace velmora {

// The few calls a drive makes of libcdio, behind an interface so that the drive's own
// logic (when to reopen, what a failed read means, an eject during a read) runs the same
// over a scripted device in tests. Not thread-safe: the owner serialises every call
// (CdioHandle's mutex). Positions are LSNs, as libcdio counts: absolute frame - 150.
class CdDevice {
public:
    static constexpr int kLeadoutTrack = 0xAA;

    enum class Result { Ok, Unsupported, Failed };
    enum class SectorResult {
        Ok,
        Damaged,     // unreadable after the retries: the sector holds silence
        CannotRead,  // the drive cannot read audio digitally at all
    };
    enum class AudioCall { Pause, Resume, Stop };
    enum class AudioState { Stopped, Playing, Paused };

    virtual ~CdDevice() = default;

    // A fresh handle on `source`, closing any old one: the handle keeps the table of
    // contents it read first, so a new disc needs a new handle.
    virtual bool open(const std::string& source) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // The table of contents as the open handle read it. Track numbers are 0 when there
    // is none; kLeadoutTrack asks for the leadout.
    virtual int firstTrack() = 0;
    virtual int lastTrack() = 0;
    virtual std::optional<int> trackLsn(int track) = 0;
    virtual bool trackIsAudio(int track) = 0;

    // The disc's CD-Text in its first language (texts in UTF-8), empty without any.
    virtual DiscText cdText() { return {}; }

    // 1 once after the disc changed (the flag clears when read), 0 if not, negative when
    // the drive cannot tell.
    virtual int mediaChanged() = 0;
    // 1 open, 0 closed, negative when unknown.
    virtual int trayStatus() = 0;

    // Plain reads of `count` sectors; false when any of them failed.
    virtual bool readSectors(int lsn, int count, std::uint8_t* out) = 0;
    // One sector through error correction with a few retries, the drive at `speed`.
    virtual SectorResult readCorrected(int lsn, std::uint8_t* out, int speed) = 0;

    // The tray, by the device's path. The handle must be closed first: the kernel
    // refuses to eject a drive that someone else holds open.
    virtual Result eject() = 0;
    virtual Result closeTray() = 0;

    // The drive's own analog output, where it has one.
    virtual Result audioPlay(int fromLsn, int endLsn) = 0;
    virtual Result audio(AudioCall call) = 0;
    // False when the drive cannot say; `absFrame` counts with the lead-in.
    virtual bool audioStatus(AudioState* state, int* absFrame) = 0;
};

// libcdio on a device node or a .cue / cdrdao .toc image; the tray calls act on `path`.
enum class CdioSource { Device, BinCue, Cdrdao };
std::shared_ptr<CdDevice> makeCdioDevice(std::string path, CdioSource source);

// A CD-Text value as the player shows it. libcdio hands CD-Text over in UTF-8, converted
// from the disc's Latin-1; a cue sheet written in UTF-8 (as most are today) comes out
// converted twice, and the second conversion is undone. Control characters are dropped.
QString cdTextValue(const char* value);

}  // namespace velmora
