#include "mixer_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>

namespace velmora::testing {

namespace {

// ALSA decides once per process, when it first reads its configuration, whether its
// "default" device is the sound server; point this process at the private server before
// anything touches ALSA. Other suites never see the server.
const bool pointedAtServer = [] {
    const char* server = std::getenv("VELMORA_PULSE_SERVER");
    if (server && *server) {
        setenv("PULSE_SERVER", server, 1);
        // The server takes anyone; keep its clients (pactl too) out of the user's cookie.
        if (const char* lock = std::getenv("VELMORA_PULSE_LOCK"))
            setenv("PULSE_COOKIE", (std::filesystem::path(lock).parent_path() / "cookie").c_str(), 1);
        return true;
    }
    return false;
}();

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

std::string PulseServer::sink() {
    if (!pointedAtServer) return {};
    const char* sink = std::getenv("VELMORA_PULSE_SINK");
    return sink ? sink : "";
}

std::optional<std::string> PulseServer::run(const std::string& command) {
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string out;
    char buffer[512];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    if (pclose(pipe) != 0) return std::nullopt;
    return out;
}

long PulseServer::volume(const std::string& server, const std::string& sink) {
    const auto out = run("pactl " + (server.empty() ? "" : "-s " + quoted(server) + " ") + "get-sink-volume " + quoted(sink));
    std::smatch match;
    if (out && std::regex_search(*out, match, std::regex(R"(:\s*(\d+)\s*/)"))) return std::stol(match[1]);
    ADD_FAILURE() << "pactl get-sink-volume gave: " << out.value_or("nothing");
    return -1;
}

bool PulseServer::muted() {
    const auto out = run("pactl get-sink-mute " + quoted(sink()));
    if (!out) ADD_FAILURE() << "pactl get-sink-mute failed";
    return out && out->find("yes") != std::string::npos;
}

void PulseServer::setVolume(long raw) {
    ASSERT_TRUE(run("pactl set-sink-volume " + quoted(sink()) + " " + std::to_string(raw)).has_value());
}

void PulseServer::setMuted(bool muted) {
    ASSERT_TRUE(run("pactl set-sink-mute " + quoted(sink()) + (muted ? " 1" : " 0")).has_value());
}

}  // namespace velmora::testing
