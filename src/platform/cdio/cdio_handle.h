#pragma once

#include "platform/audio/sector_reader.h"
#include "platform/cdio/cd_device.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

namespace velmora {

// The one device handle of a drive or image, shared by the drive (status, table of
// contents, tray) and the playback reader thread. Device calls are not thread-safe:
// every use holds `mutex`. `version` counts reopenings (and ejects asked for), so a
// reader made for an older handle knows to stop; it may be raised without the mutex so
// that a read under way gives up at its next sector.
struct CdioHandle {
    explicit CdioHandle(std::shared_ptr<CdDevice> d) : device(std::move(d)) {}
    ~CdioHandle() { device->close(); }

    std::mutex mutex;
    const std::shared_ptr<CdDevice> device;
    std::atomic<unsigned> version{0};
    // A reader saw the media-changed flag (which clears when read); under `mutex`.
    bool changeSeen = false;
    // An image's data could not be read: the next play opens it afresh; under `mutex`.
    bool readFailed = false;
};

// Plain sector reads of a real drive, when paranoia is not wanted.
std::shared_ptr<SectorReader> makePlainReader(std::shared_ptr<CdioHandle> handle);
// Reads of a disc image (`name` for messages): a sector it cannot give ends playback.
std::shared_ptr<SectorReader> makeImageReader(std::shared_ptr<CdioHandle> handle, std::string name);
// Error-correcting reads for a real drive at a quiet speed; damaged sectors are retried a
// few times and then played as silence rather than stalling playback.
std::shared_ptr<SectorReader> makeParanoiaReader(std::shared_ptr<CdioHandle> handle, int speed);

// The last message libcdio logged (its own words for why an open failed), and a quiet
// handler that collects them instead of printing (and never aborts).
void installCdioLogCapture();
std::string takeCdioLogMessage();

}  // namespace velmora
