#pragma once

#include "shared/disc_text.h"
#include "shared/units.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// CD frames are 1/75 second. All frame numbers here are absolute: they count from the
// very start of the disc, including the 150-frame lead-in, like a CDDB offset.
inline constexpr int kLeadInFrames = 150;

enum class DriveMode { NotReady, Open, Stopped, Playing, Paused, Seeking };

// The closed set of ways a drive operation can fail. The command interpreter maps each
// to its error code.
enum class DriveError {
    None,
    NotReady,       // no disc, tray open, disc unreadable
    OutOfRange,     // a position outside the disc
    Hardware,       // the device failed the operation
    Unsupported,    // the drive cannot do this (no tray motor, no analog output)
    NoPermission,   // the device node cannot be opened for reading
    NoSoundDevice,  // digital playback has no output to play through
    Internal,       // anything else
};

struct TocTrack {
    int number = 0;      // 1..99
    int startFrame = 0;  // absolute
    bool audio = true;   // false: a data track ("other")
};

struct DiscToc {
    std::vector<TocTrack> tracks;  // in track order, numbers rising from tracks.front().number
    int leadoutFrame = 0;          // first frame after the last track
    DiscText text = {};            // what the disc says of itself, when it says anything

    bool empty() const { return tracks.empty(); }
    int firstTrack() const { return tracks.empty() ? 0 : tracks.front().number; }
    int lastTrack() const { return tracks.empty() ? 0 : tracks.back().number; }
    const TocTrack* track(int number) const {
        for (const auto& t : tracks)
            if (t.number == number) return &t;
        return nullptr;
    }
    // Start of the track after `number`, or the leadout for the last one.
    int trackEnd(int number) const {
        for (std::size_t i = 0; i < tracks.size(); ++i)
            if (tracks[i].number == number) return i + 1 < tracks.size() ? tracks[i + 1].startFrame : leadoutFrame;
        return 0;
    }
};

struct DriveStatus {
    DriveMode mode = DriveMode::NotReady;
    bool mediaPresent = false;
    int positionFrame = 0;  // absolute; meaningful only with media present
};

// A CD drive as the command interpreter sees it. Backends may play on threads of their
// own (digital playback reads and plays audio off the UI thread), so every method must be
// safe to call from any thread and every answer is a snapshot: the mode and position can
// change between two calls without any call being made (a disc ends, the user opens
// the tray by hand). Callers poll; nothing is pushed to them.
class CdDrive {
public:
    virtual ~CdDrive() = default;

    virtual DriveStatus status() = 0;
    // The table of contents of the disc in the drive; std::nullopt when there is none.
    virtual std::optional<DiscToc> toc() = 0;

    // Plays frames [fromFrame, endFrame) and then stops by itself.
    virtual DriveError play(int fromFrame, int endFrame) = 0;
    virtual DriveError pause() = 0;
    virtual DriveError resume() = 0;
    // Stops and returns the head to the start of the disc.
    virtual DriveError stop() = 0;
    // Stops (if playing) and places the head at `frame`.
    virtual DriveError seek(int frame) = 0;
    virtual DriveError setDoorOpen(bool open) = 0;

    // A human-readable detail of the last failure, for logs and the CLI.
    virtual std::string lastErrorDetail() const { return {}; }

    // Why playback last stopped by itself on a failure the user has to hear of (the sound
    // output, a disc image or a drive that cannot be read; not a disc taken out), told
    // once: empty until playback fails again.
    virtual std::string takePlaybackFailure() { return {}; }
};

}  // namespace velmora
