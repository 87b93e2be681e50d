#pragma once

#include "platform/audio/pcm_output.h"
#include "platform/audio/sector_reader.h"
#include "platform/cd_drive.h"
#include "platform/clock.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace velmora {

// A stretch of audio to play, absolute frames [from, end).
struct PlaySpan {
    int from = 0;
    int end = 0;
};

enum class EngineState { Stopped, Playing, Paused };

// The runs that ended on a failure of their own (the reader or the sound output), rather
// than by a command or at their end: how many so far, and the last one.
struct EngineFailure {
    unsigned count = 0;
    DriveError error = DriveError::None;
    std::string detail;
};

struct EngineSnapshot {
    EngineState state = EngineState::Stopped;
    int positionFrame = 0;                // what has been heard; the head when stopped
    DriveError error = DriveError::None;  // why playback last ended on its own, if it failed,
                                          // until the next play or stop
};

// Digital playback: a reader thread pulls sectors from a SectorReader in runs of up to a
// second into a queue of up to two, an output thread keeps the ALSA stream's second of
// buffer full. While playing, each thread wakes about once per period of the device (a
// quarter second) or per read, not more. Commands only change the state and a generation
// number under the lock and wake the output thread (also out of its wait on the device),
// so they return at once; the output thread then drops what the device holds of the old
// generation at once, never waiting for it to drain.
//
// The position is what the listener has heard: frames written less those still queued
// in the sound device, measured at each write and carried forward by the steady clock in
// between. Outputs that swallow audio at any speed (null, file) are fed by `clock` in real
// time instead, and then what has been written is what has been heard.
class PlaybackEngine {
public:
    PlaybackEngine(PcmTarget target, std::shared_ptr<Clock> clock);
    ~PlaybackEngine();
    PlaybackEngine(const PlaybackEngine&) = delete;
    PlaybackEngine& operator=(const PlaybackEngine&) = delete;

    // Plays the spans in order, then stops by itself at the end of the last one.
    DriveError play(std::vector<PlaySpan> spans, std::shared_ptr<SectorReader> reader);
    DriveError pause();
    DriveError resume();
    // Stops and parks the head at `frame`.
    void stop(int frame);

    EngineSnapshot snapshot() const;
    std::string lastError() const;
    EngineFailure failure() const;
    // Underruns of the sound device since the engine started (for measurements).
    int underruns() const;

    // For measurements: told on the output thread whenever audio goes to the device
    // (its first absolute sample and length) and whenever queued audio is thrown away.
    struct OutputObserver {
        virtual ~OutputObserver() = default;
        virtual void written(std::int64_t firstSample, long frames) = 0;
        virtual void discarded() = 0;
    };
    void setOutputObserver(OutputObserver* observer);

private:
    struct Chunk {
        std::uint64_t gen = 0;
        std::int64_t firstSample = 0;       // absolute sample (frame * 588 + offset)
        std::vector<std::int16_t> samples;  // interleaved stereo
        long consumed = 0;                  // stereo frames already written
        bool last = false;
    };
    struct Segment {  // written audio [writtenStart, writtenStart + length) came from firstSample on
        std::int64_t writtenStart;
        std::int64_t firstSample;
        std::int64_t length;
    };

    void readerLoop();
    void outputLoop();
    void wakeOutputLocked();
    void clearWake();
    std::int64_t heardNowLocked() const;
    void noteHeardLocked(std::int64_t heardWritten, bool running, std::chrono::steady_clock::time_point at);
    bool openOutputLocked(std::string* error);
    void startRunLocked(std::int64_t fromSample);
    std::int64_t heardSampleLocked(std::int64_t heardWritten) const;
    void failLocked(DriveError error, const std::string& detail);

    const PcmTarget target_;
    const std::shared_ptr<Clock> clock_;

    mutable std::mutex mu_;
    std::condition_variable readerWake_;
    std::condition_variable outputWake_;
    int wakeFd_ = -1;  // eventfd: a command ends the output thread's wait on the device
    bool quit_ = false;

    // Shared state, under mu_.
    EngineState state_ = EngineState::Stopped;
    std::uint64_t gen_ = 0;
    std::vector<PlaySpan> spans_;
    std::shared_ptr<SectorReader> reader_;
    std::int64_t positionSample_ = 0;
    DriveError error_ = DriveError::None;
    std::string detail_;
    EngineFailure failure_;
    std::unique_ptr<PcmOutput> pcm_;
    int underruns_ = 0;
    OutputObserver* observer_ = nullptr;

    // Reader side, under mu_.
    std::size_t readSpan_ = 0;
    std::int64_t readSample_ = 0;
    bool readDone_ = true;
    int nextReadSectors_ = 0;  // small after a start, so the first audio comes quickly
    std::deque<std::unique_ptr<Chunk>> queue_;
    int queuedSectors_ = 0;

    // Output side, under mu_ (the PCM itself is used by the output thread only).
    std::uint64_t outGen_ = 0;
    std::int64_t runStartSample_ = 0;
    std::int64_t written_ = 0;
    std::vector<Segment> segments_;
    bool lastWritten_ = false;
    bool paced_ = true;
    std::int64_t anchorMs_ = 0;
    std::int64_t anchorWritten_ = 0;
    // The last measurement of the device: written audio heard by then, and when; whether
    // it had moved on since the one before; the most ever reported for this run.
    std::int64_t heardWritten_ = 0;
    std::chrono::steady_clock::time_point heardAt_;
    bool heardMoving_ = false;
    std::int64_t movingRefWritten_ = 0;
    std::chrono::steady_clock::time_point movingRefAt_;
    mutable std::int64_t heardFloor_ = 0;
    std::optional<std::chrono::steady_clock::time_point> stoppedSince_;

    std::thread reader_thread_;
    std::thread output_thread_;
};

}  // namespace velmora
