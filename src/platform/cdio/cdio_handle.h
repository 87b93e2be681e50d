#pragma once

#include "platform/audio/sector_reader.h"

#include <cdio/cdio.h>

#include <memory>
#include <mutex>
#include <string>

namespace velmora {

// The one libcdio handle of a drive or image, shared by the drive (status, table of
// contents, tray) and the playback reader thread. libcdio handles are not thread-safe:
// every use holds `mutex`. `version` counts reopenings, so a reader made for an older
// handle knows to stop.
struct CdioHandle {
    std::mutex mutex;
    CdIo_t* cdio = nullptr;
    unsigned version = 0;

    ~CdioHandle() {
        if (cdio) cdio_destroy(cdio);
    }
};

// A reader over a CdioHandle. The playback engine may hold one after the drive has
// opened a new handle; it then reports the disc gone. Before a handle is destroyed its
// owner calls releaseLocked() (handle mutex held) so nothing built on it outlives it.
class CdioSectorReader : public SectorReader {
public:
    virtual void releaseLocked() {}
};

// Plain sector reads: disc images, and real drives when paranoia is not wanted.
std::shared_ptr<CdioSectorReader> makePlainReader(std::shared_ptr<CdioHandle> handle);
// Error-correcting reads for a real drive at a quiet speed; damaged sectors are retried a
// few times and then played as silence rather than stalling playback.
std::shared_ptr<CdioSectorReader> makeParanoiaReader(std::shared_ptr<CdioHandle> handle, int speed);

// The last message libcdio logged (its own words for why an open failed), and a quiet
// handler that collects them instead of printing (and never aborts).
void installCdioLogCapture();
std::string takeCdioLogMessage();

}  // namespace velmora
