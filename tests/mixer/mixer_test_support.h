#pragma once

#include "mixer/mixer_volume.h"

#include <cstdint>
#include <optional>
#include <string>

namespace velmora::testing {

// A mixer held in memory. `available` false behaves like a machine without one: reads
// give -1 and true, writes are dropped.
struct FakeMixerVolume : CMixerVolume {
    bool available = true;
    std::int32_t mainVolume = 0;
    bool mainMute = false;
    std::int32_t cdVolume = 0;
    bool cdMute = false;
    int reads = 0;
    int volumeWrites = 0;
    int muteWrites = 0;
    std::optional<std::int32_t> lastVolumeWritten;

    std::int32_t CDVolume() override { ++reads; return available ? cdVolume : -1; }
    void setCDVolume(const std::int32_t& v) override { if (available) cdVolume = v; }
    bool CDMute() override { ++reads; return available ? cdMute : true; }
    void setCDMute(const bool& v) override { if (available) cdMute = v; }
    std::int32_t MainVolume() override { ++reads; return available ? mainVolume : -1; }
    void setMainVolume(const std::int32_t& v) override {
        ++volumeWrites;
        lastVolumeWritten = v;
        if (available) mainVolume = v;
    }
    bool MainMute() override { ++reads; return available ? mainMute : true; }
    void setMainMute(const bool& v) override {
        ++muteWrites;
        if (available) mainMute = v;
    }
};

// Open descriptors of this process.
int openDescriptorCount();

// The private PulseAudio server that tools/with-pulse.sh starts, if there is one.
struct PulseServer {
    // Empty when the suite runs without the server; otherwise the sink it may change.
    static std::string sink();
    // Runs a command, returns its standard output; nullopt when it fails.
    static std::optional<std::string> run(const std::string& command);
    static bool reachable();
    // The sink's first channel, raw (65536 is 100 %); of another server's sink when given.
    static long volume(const std::string& server = {}, const std::string& sink = PulseServer::sink());
    static bool muted();
    static void setVolume(long raw);
    static void setMuted(bool muted);
};

// Holds the server's lock file, so that suites running side by side take turns with the
// one sink.
class PulseLock {
public:
    PulseLock();
    ~PulseLock();
    PulseLock(const PulseLock&) = delete;
    PulseLock& operator=(const PulseLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace velmora::testing
