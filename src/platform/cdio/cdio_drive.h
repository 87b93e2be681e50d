#pragma once

#include "platform/audio/playback_engine.h"
#include "platform/audio/pcm_output.h"
#include "platform/cd_drive.h"
#include "platform/clock.h"

#include <QString>

#include <memory>
#include <optional>

namespace velmora {

// Real CD drives and disc images, read through libcdio, with digital playback to the
// sound card (or the drive's own analog output where asked for).

struct CdioDriveOptions {
    PcmTarget pcm;        // where digital playback goes
    bool analog = false;  // play through the drive's own line-out instead
    int readSpeed = 4;    // drive speed for digital reads of a real disc
    // For measurements: told of the audio digital playback hands to the output.
    PlaybackEngine::OutputObserver* observer = nullptr;

    // VELMORA_PCM and VELMORA_PLAYBACK ("digital" or "analog").
    static CdioDriveOptions fromEnvironment();
};

// Opens a device node (/dev/sr0) or a disc image (.cue, .toc). On failure returns
// nullptr and puts the reason, in words for the user, into `error`.
std::shared_ptr<CdDrive> openCdioDrive(const QString& path, std::shared_ptr<Clock> clock, QString* error);
std::shared_ptr<CdDrive> openCdioDrive(const QString& path, std::shared_ptr<Clock> clock, QString* error,
                                       const CdioDriveOptions& options);

class CdDevice;

// A real drive over the given device layer (a scripted one in tests); `path` names it in
// messages.
std::shared_ptr<CdDrive> openCdDevice(const QString& path, std::shared_ptr<CdDevice> device,
                                      std::shared_ptr<Clock> clock, QString* error, const CdioDriveOptions& options);

// The first CD drive of the machine, if any.
std::optional<QString> firstCdDrive();

}  // namespace velmora
