#pragma once

#include "shared/units.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

// ALSA's own type, declared here without its header.
typedef struct _snd_pcm snd_pcm_t;  // NOLINT(bugprone-reserved-identifier)

namespace velmora {

// Where digital playback goes: an ALSA device name, or a PCM defined by a configuration
// text of its own (tests write to a file this way, without touching the user's setup).
struct PcmTarget {
    std::string device = "default";
    std::string configText;  // when set, `device` is looked up in this text alone

    // VELMORA_PCM, else "default".
    static PcmTarget fromEnvironment();
    std::string describe() const;
};

// One open ALSA playback stream: CD audio (44.1 kHz, 16-bit, stereo, interleaved),
// non-blocking, a second of buffer in quarter-second periods, so that the writer (and a
// sound server behind the device) wakes four times a second. A stop drops the buffer at
// once; new audio starts as soon as a period of it is queued. Used by one thread.
class PcmOutput {
public:
    static constexpr unsigned kRate = kSampleRate;
    static constexpr int kChannels = 2;

    // nullptr and a reason in `error` when the device cannot be opened.
    static std::unique_ptr<PcmOutput> open(const PcmTarget& target, std::string* error);
    ~PcmOutput();
    PcmOutput(const PcmOutput&) = delete;
    PcmOutput& operator=(const PcmOutput&) = delete;

    // Writes up to `frames` stereo frames without blocking; returns how many were taken
    // (0 when the buffer is full) or a negative ALSA error that could not be recovered.
    long write(const std::int16_t* samples, long frames);
    // ALSA's words for a negative error that write returned.
    static std::string errorText(long error);
    // Frames written but not yet played; 0 when the stream is idle.
    long delay();
    // Sleeps until there is room for a period, `wakeFd` (an eventfd) becomes readable, or
    // `ms` pass. A full stream that has not started is started; one that cannot run
    // (an underrun to recover) returns at once.
    void waitForRoom(int wakeFd, int ms);
    // Discards everything queued and makes the stream ready for new audio.
    void discard();
    // Starts a stream that holds less than its start threshold (the end of a disc).
    void start();
    bool running() const;
    // Underruns the device reported; read from any thread.
    int underruns() const { return underruns_.load(); }

    long periodFrames() const { return periodFrames_; }
    // True for outputs that take audio as fast as it comes (null, file): the caller
    // must pace itself by the clock.
    bool likelyUnpaced() const { return unpacedType_; }

private:
    explicit PcmOutput(snd_pcm_t* pcm) : pcm_(pcm) {}
    bool recover(int err);

    snd_pcm_t* pcm_ = nullptr;
    long periodFrames_ = 0;
    bool unpacedType_ = false;
    std::atomic<int> underruns_{0};
};

}  // namespace velmora
