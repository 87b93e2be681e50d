#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace velmora {

// Milliseconds on a monotonic scale. The simulated drive measures play time with it;
// tests move a manual clock instead of sleeping.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() const = 0;
};

class SteadyClock final : public Clock {
public:
    std::int64_t nowMs() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

class ManualClock final : public Clock {
public:
    std::int64_t nowMs() const override { return now_.load(); }
    void advanceMs(std::int64_t ms) { now_ += ms; }
    void setMs(std::int64_t ms) { now_ = ms; }

private:
    std::atomic<std::int64_t> now_{0};
};

}  // namespace velmora
