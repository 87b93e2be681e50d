#include "platform/audio/playback_engine.h"
#include "shared/units.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstring>
#include <cstdio>
#include <cstdlib>

namespace velmora {

namespace {

constexpr int kReadBatchSectors = kFramesPerSecond;      // one read: a second of audio, the most a read takes
constexpr int kFirstReadSectors = 8;                     // the first read of a run; each next one doubles
constexpr int kMaxQueuedSectors = 2 * kFramesPerSecond;  // up to two seconds read ahead of the device's second
constexpr std::int64_t kRate = kSampleRate;
constexpr std::int64_t kMaxLagSamples = 2 * kRate;  // an unpaced output catches up at most this
// Unpaced outputs (null, file) are fed by the injected clock, which only a poll can follow.
constexpr auto kUnpacedPoll = std::chrono::milliseconds(10);
// A sound server may take its audio a second at a time, so the output thread also looks
// at the device when it has waited this long for room, and the position is carried
// forward at most a little beyond that.
constexpr int kRoomWaitMs = 400;
constexpr std::int64_t kMaxCarrySamples = kRate * 6 / 10;
constexpr auto kReleaseAfter = std::chrono::seconds(3);

std::int64_t samplesForMs(std::int64_t ms) { return ms * kRate / 1000; }

std::int64_t samplesSince(std::chrono::steady_clock::time_point t) {
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t);
    return us.count() * kRate / 1000000;
}

}  // namespace

PlaybackEngine::PlaybackEngine(PcmTarget target, std::shared_ptr<Clock> clock)
    : target_(std::move(target)), clock_(clock ? std::move(clock) : std::make_shared<SteadyClock>()) {
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    reader_thread_ = std::thread([this] { readerLoop(); });
    output_thread_ = std::thread([this] { outputLoop(); });
}

PlaybackEngine::~PlaybackEngine() {
    {
        std::lock_guard lock(mu_);
        quit_ = true;
        ++gen_;
        wakeOutputLocked();
    }
    readerWake_.notify_all();
    reader_thread_.join();
    output_thread_.join();
    if (wakeFd_ >= 0) close(wakeFd_);
}

void PlaybackEngine::wakeOutputLocked() {
    outputWake_.notify_all();
    if (wakeFd_ >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = write(wakeFd_, &one, sizeof one);
    }
}

void PlaybackEngine::clearWake() {
    if (wakeFd_ < 0) return;
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t n = read(wakeFd_, &count, sizeof count);
}

bool PlaybackEngine::openOutputLocked(std::string* error) {
    if (pcm_) return true;
    pcm_ = PcmOutput::open(target_, error);
    return pcm_ != nullptr;
}

void PlaybackEngine::startRunLocked(std::int64_t fromSample) {
    ++gen_;
    error_ = DriveError::None;
    // The clock of an unpaced output starts with the command, not when the output
    // thread gets round to it.
    anchorMs_ = clock_->nowMs();
    anchorWritten_ = 0;
    readSpan_ = spans_.size();
    for (std::size_t i = 0; i < spans_.size(); ++i) {
        if (fromSample < std::int64_t(spans_[i].end) * kSamplesPerSector) {
            readSpan_ = i;
            break;
        }
    }
    if (readSpan_ == spans_.size()) {
        // Nothing left to play.
        state_ = EngineState::Stopped;
        positionSample_ = fromSample;
        readDone_ = true;
    } else {
        readSample_ = std::max(fromSample, std::int64_t(spans_[readSpan_].from) * kSamplesPerSector);
        positionSample_ = readSample_;
        readDone_ = false;
    }
    nextReadSectors_ = kFirstReadSectors;
    readerWake_.notify_all();
    wakeOutputLocked();
}

DriveError PlaybackEngine::play(std::vector<PlaySpan> spans, std::shared_ptr<SectorReader> reader) {
    std::erase_if(spans, [](const PlaySpan& s) { return s.end <= s.from; });
    std::lock_guard lock(mu_);
    if (spans.empty() || !reader) {
        // Nothing to play (from == to): the head moves there and stays stopped.
        state_ = EngineState::Stopped;
        ++gen_;
        wakeOutputLocked();
        return DriveError::None;
    }
    std::string error;
    if (!openOutputLocked(&error)) {
        detail_ = error;
        return DriveError::NoSoundDevice;
    }
    spans_ = std::move(spans);
    reader_ = std::move(reader);
    state_ = EngineState::Playing;
    startRunLocked(std::int64_t(spans_.front().from) * kSamplesPerSector);
    return DriveError::None;
}

DriveError PlaybackEngine::pause() {
    std::lock_guard lock(mu_);
    if (state_ == EngineState::Playing) {
        // Resume goes on from what was heard, not from what the device still held.
        positionSample_ = heardNowLocked();
        state_ = EngineState::Paused;
        ++gen_;
        wakeOutputLocked();
    }
    return DriveError::None;
}

DriveError PlaybackEngine::resume() {
    std::lock_guard lock(mu_);
    if (state_ == EngineState::Playing) return DriveError::None;
    if (state_ != EngineState::Paused) {
        detail_ = "Nothing is paused";
        return DriveError::Hardware;
    }
    std::string error;
    if (!openOutputLocked(&error)) {
        detail_ = error;
        return DriveError::NoSoundDevice;
    }
    state_ = EngineState::Playing;
    startRunLocked(positionSample_);
    return DriveError::None;
}

void PlaybackEngine::stop(int frame) {
    std::lock_guard lock(mu_);
    state_ = EngineState::Stopped;
    error_ = DriveError::None;  // a failure is news until the next command
    positionSample_ = std::int64_t(frame) * kSamplesPerSector;
    ++gen_;
    readerWake_.notify_all();
    wakeOutputLocked();
}

EngineSnapshot PlaybackEngine::snapshot() const {
    std::lock_guard lock(mu_);
    EngineSnapshot s;
    s.state = state_;
    s.positionFrame = static_cast<int>(heardNowLocked() / kSamplesPerSector);
    s.error = error_;
    return s;
}

std::string PlaybackEngine::lastError() const {
    std::lock_guard lock(mu_);
    return detail_;
}

EngineFailure PlaybackEngine::failure() const {
    std::lock_guard lock(mu_);
    return failure_;
}

void PlaybackEngine::setOutputObserver(OutputObserver* observer) {
    std::lock_guard lock(mu_);
    observer_ = observer;
}

int PlaybackEngine::underruns() const {
    std::lock_guard lock(mu_);
    return underruns_ + (pcm_ ? pcm_->underruns() : 0);
}

// The head stays where the listener was, so that the next play goes on from there.
void PlaybackEngine::failLocked(DriveError error, const std::string& detail) {
    // Never behind what was last reported.
    if (state_ == EngineState::Playing) positionSample_ = heardNowLocked();
    error_ = error;
    detail_ = detail;
    failure_ = {failure_.count + 1, error, detail};
    state_ = EngineState::Stopped;
    ++gen_;
    readerWake_.notify_all();
    wakeOutputLocked();
}

void PlaybackEngine::noteHeardLocked(std::int64_t heardWritten, bool running,
                                     std::chrono::steady_clock::time_point at) {
    // Moving: over a tenth of a second or more since the last reference, it played at
    // half speed or better. Writes a moment apart tell nothing either way.
    const std::int64_t elapsed = samplesSince(movingRefAt_) - samplesSince(at);
    if (!running) {
        heardMoving_ = false;
    } else if (elapsed >= 4410) {
        heardMoving_ = 2 * (heardWritten - movingRefWritten_) >= elapsed;
        movingRefWritten_ = heardWritten;
        movingRefAt_ = at;
    }
    heardWritten_ = heardWritten;
    heardAt_ = at;
    positionSample_ = heardSampleLocked(std::max(heardWritten_, heardFloor_));
}

// Between the output thread's measurements (a period apart) a device that was seen
// playing goes on in real time: carry the last measurement forward, never past what was
// written nor back behind what was already reported. A device that has not yet been
// seen to play (a sound server starts a stream a block late) is not carried forward.
std::int64_t PlaybackEngine::heardNowLocked() const {
    if (state_ != EngineState::Playing || outGen_ != gen_ || !paced_) return positionSample_;
    std::int64_t heard = heardWritten_;
    if (heardMoving_) heard += std::min(samplesSince(heardAt_), kMaxCarrySamples);
    heard = std::max(std::min(heard, written_), heardFloor_);
    heardFloor_ = heard;
    return heardSampleLocked(heard);
}

std::int64_t PlaybackEngine::heardSampleLocked(std::int64_t heardWritten) const {
    if (segments_.empty() || heardWritten <= 0) return runStartSample_;
    for (auto it = segments_.rbegin(); it != segments_.rend(); ++it) {
        if (it->writtenStart <= heardWritten)
            return it->firstSample + std::min(heardWritten - it->writtenStart, it->length);
    }
    return runStartSample_;
}

void PlaybackEngine::readerLoop() {
    std::unique_lock lock(mu_);
    while (!quit_) {
        // Wait for room for a whole read: one wake-up per read, not per sector played.
        if (state_ != EngineState::Playing || readDone_ || !reader_ ||
            queuedSectors_ + nextReadSectors_ > kMaxQueuedSectors) {
            readerWake_.wait(lock);
            continue;
        }
        const std::uint64_t gen = gen_;
        const std::shared_ptr<SectorReader> reader = reader_;
        const PlaySpan span = spans_[readSpan_];
        const std::int64_t sample = readSample_;
        const int frame = static_cast<int>(sample / kSamplesPerSector);
        const auto offset = static_cast<std::ptrdiff_t>(sample % kSamplesPerSector);
        const int count = std::min(nextReadSectors_, span.end - frame);

        lock.unlock();
        auto chunk = std::make_unique<Chunk>();
        chunk->samples.resize(std::size_t(count) * kSamplesPerSector * 2);
        const SectorReadResult result =
            reader->read(frame, count, reinterpret_cast<std::uint8_t*>(chunk->samples.data()));
        const bool ended = result == SectorReadResult::NoMedia || result == SectorReadResult::Failed;
        if (!ended) {
            if (offset > 0) chunk->samples.erase(chunk->samples.begin(), chunk->samples.begin() + 2 * offset);
            if constexpr (std::endian::native == std::endian::big) {
                for (auto& s : chunk->samples)
                    s = static_cast<std::int16_t>((std::uint16_t(s) >> 8) | (std::uint16_t(s) << 8));
            }
        }
        const std::string readError = ended ? reader->lastError() : "";
        lock.lock();

        if (gen != gen_) continue;
        if (result == SectorReadResult::NoMedia) {
            failLocked(DriveError::NotReady, readError.empty() ? "The disc was removed while playing" : readError);
            continue;
        }
        if (result == SectorReadResult::Failed) {
            failLocked(DriveError::Hardware, readError.empty() ? "The disc cannot be read" : readError);
            continue;
        }
        chunk->gen = gen;
        chunk->firstSample = sample;
        nextReadSectors_ = std::min(2 * nextReadSectors_, kReadBatchSectors);
        readSample_ = std::int64_t(frame + count) * kSamplesPerSector;
        if (frame + count >= span.end) {
            if (++readSpan_ < spans_.size()) {
                readSample_ = std::int64_t(spans_[readSpan_].from) * kSamplesPerSector;
            } else {
                readDone_ = true;
                chunk->last = true;
            }
        }
        queuedSectors_ += count;
        queue_.push_back(std::move(chunk));
        outputWake_.notify_all();
    }
}

void PlaybackEngine::outputLoop() {
    std::unique_lock lock(mu_);
    auto sectorsOf = [](const Chunk& c) {
        return static_cast<int>((c.samples.size() / 2 + kSamplesPerSector - 1) / kSamplesPerSector);
    };
    auto popFront = [&] {
        queuedSectors_ -= sectorsOf(*queue_.front());
        queue_.pop_front();
        if (queuedSectors_ + nextReadSectors_ <= kMaxQueuedSectors) readerWake_.notify_all();
    };
    while (!quit_) {
        if (outGen_ != gen_) {
            // A command: forget the old run and what the device still holds of it.
            outGen_ = gen_;
            while (!queue_.empty() && queue_.front()->gen != gen_) popFront();
            readerWake_.notify_all();
            const bool hadAudio = written_ > 0;
            written_ = 0;
            segments_.clear();
            lastWritten_ = false;
            heardWritten_ = 0;
            heardMoving_ = false;
            heardFloor_ = 0;
            movingRefWritten_ = 0;
            movingRefAt_ = std::chrono::steady_clock::now();
            runStartSample_ = positionSample_;
            PcmOutput* pcm = pcm_.get();
            if (pcm) paced_ = !pcm->likelyUnpaced();
            if (pcm && hadAudio) {
                OutputObserver* observer = observer_;
                lock.unlock();
                pcm->discard();
                if (observer) observer->discarded();
                lock.lock();
            }
            continue;
        }
        if (state_ != EngineState::Playing) {
            if (state_ == EngineState::Stopped && pcm_) {
                // Let go of the device after a while stopped, for other programs; not at
                // once, as skipping to another track stops and plays again.
                const auto now = std::chrono::steady_clock::now();
                if (!stoppedSince_) stoppedSince_ = now;
                if (now - *stoppedSince_ < kReleaseAfter) {
                    outputWake_.wait_for(lock, kReleaseAfter - (now - *stoppedSince_));
                    continue;
                }
                std::unique_ptr<PcmOutput> old = std::move(pcm_);
                underruns_ += old->underruns();
                lock.unlock();
                old.reset();
                lock.lock();
                continue;
            }
            outputWake_.wait(lock);
            continue;
        }
        stoppedSince_.reset();

        PcmOutput* pcm = pcm_.get();
        const std::uint64_t gen = gen_;
        while (!queue_.empty() && queue_.front()->gen != gen) popFront();
        Chunk* chunk = queue_.empty() ? nullptr : queue_.front().get();

        if (!chunk) {
            if (!lastWritten_) {
                // The reader is behind; it wakes us with its next run (an unpaced output
                // looks again soon, as its clock may have moved on).
                if (paced_) outputWake_.wait(lock);
                else outputWake_.wait_for(lock, kUnpacedPoll);
                continue;
            }
            // All written: wait until the device has played it, then stop by ourselves.
            long queued = 0;
            if (paced_) {
                lock.unlock();
                pcm->start();
                queued = pcm->delay();
                const bool running = pcm->running();
                lock.lock();
                if (gen != gen_) continue;
                noteHeardLocked(written_ - queued, running, std::chrono::steady_clock::now());
            }
            if (queued > 0) {
                // Sleep for what is left (a command wakes us earlier), then look again.
                const auto left = std::chrono::milliseconds(std::max<long>(20, queued * 1000 / kRate));
                outputWake_.wait_for(lock, left);
                continue;
            }
            state_ = EngineState::Stopped;
            positionSample_ = std::int64_t(spans_.back().end) * kSamplesPerSector;
            ++gen_;
            continue;
        }

        long n = static_cast<long>(chunk->samples.size() / 2) - chunk->consumed;
        if (!paced_) {
            n = std::min(n, pcm->periodFrames() > 0 ? pcm->periodFrames() : 2205L);
            std::int64_t due = anchorWritten_ + samplesForMs(clock_->nowMs() - anchorMs_);
            if (due - written_ > kMaxLagSamples) {
                // Fell far behind (a slow read): pick up from now instead of rushing.
                anchorMs_ = clock_->nowMs();
                anchorWritten_ = written_ + kMaxLagSamples;
                due = anchorWritten_;
            }
            if (due <= written_) {
                outputWake_.wait_for(lock, kUnpacedPoll);
                continue;
            }
            n = static_cast<long>(std::min<std::int64_t>(n, due - written_));
        }
        const long consumedBefore = chunk->consumed;
        const bool paced = paced_;
        OutputObserver* observer = observer_;

        lock.unlock();
        const long w = pcm->write(chunk->samples.data() + consumedBefore * 2, n);
        if (observer && w > 0) observer->written(chunk->firstSample + consumedBefore, w);
        const long queued = w >= 0 ? pcm->delay() : 0;
        const bool running = pcm->running();
        const auto measuredAt = std::chrono::steady_clock::now();
        lock.lock();

        if (w < 0) {
            failLocked(DriveError::NoSoundDevice, "The sound output stopped: " + PcmOutput::errorText(w) +
                                                      " (sound device " + target_.describe() + ")");
            // The next play opens it afresh (it may have been unplugged and come back).
            std::unique_ptr<PcmOutput> broken = std::move(pcm_);
            lock.unlock();
            broken.reset();
            lock.lock();
            continue;
        }
        if (gen != gen_) continue;
        // A file output in front of a real device paces after all.
        if (!paced_ && running && queued > 0) paced_ = true;
        if (w > 0) {
            chunk->consumed += w;
            const std::int64_t first = chunk->firstSample + consumedBefore;
            if (!segments_.empty() && segments_.back().firstSample + segments_.back().length == first)
                segments_.back().length += w;
            else segments_.push_back({written_, first, w});
            written_ += w;
            if (segments_.size() > 64) segments_.erase(segments_.begin());
        }
        noteHeardLocked(written_ - (paced_ ? queued : 0), running, measuredAt);
        if (chunk->consumed * 2 >= static_cast<long>(chunk->samples.size())) {
            lastWritten_ = chunk->last;
            popFront();
        }
        if (paced && w < n) {
            // The device is full: sleep until it has room for a period or a command comes.
            lock.unlock();
            pcm->waitForRoom(wakeFd_, kRoomWaitMs);
            clearWake();
            lock.lock();
        }
    }
}

}  // namespace velmora
