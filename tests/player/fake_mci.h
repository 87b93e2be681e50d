#pragma once

#include "platform/mci_service.h"

#include <cstring>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace velmora::test {

// A scripted drive: canned replies and result codes per command, and every command sent.
class FakeMci final : public MciService {
public:
    struct Answer {
        int code = 0;
        std::string reply;
    };

    void answer(const std::string& command, std::string reply) { answers[command] = {0, std::move(reply)}; }
    void fail(const std::string& command, int code) { answers[command] = {code, {}}; }
    // Commands the drive takes without a reply.
    void accept(std::initializer_list<std::string> commands) {
        for (const auto& c : commands) answers[c] = {0, {}};
    }

    int sendString(const std::string& command, char* buffer, int bufferLength) override {
        sent.push_back(command);
        if (buffer && bufferLength > 0) buffer[0] = '\0';
        const auto it = answers.find(command);
        if (it == answers.end()) return unknownCode;
        const Answer& a = it->second;
        if (buffer && bufferLength > 0 && !a.reply.empty()) {
            if (static_cast<int>(a.reply.size()) >= bufferLength) return 268;
            std::memcpy(buffer, a.reply.c_str(), a.reply.size() + 1);
        }
        return a.code;
    }

    DiscText discText() override { return text; }
    DiscText text;  // the disc's CD-Text
    std::string takePlaybackFailure() override { return std::exchange(failure, {}); }
    std::string failure;  // why playback stopped by itself, until taken

    bool errorString(int code, char* buffer, int bufferLength) const override {
        if (!buffer || bufferLength <= 0) return false;
        const std::string text = "error text " + std::to_string(code);
        std::strncpy(buffer, text.c_str(), static_cast<std::size_t>(bufferLength - 1));
        buffer[bufferLength - 1] = '\0';
        return true;
    }

    // A playing audio disc of `tracks` tracks, each 4:10 long, at `position` (tmsf).
    void audioDisc(int tracks, const std::string& position) {
        answer("status cd media present", "true");
        answer("status cd type track 1", "audio");
        answer("status cd number of tracks wait", std::to_string(tracks));
        for (int n = 1; n <= tracks; ++n) answer("status cd length track " + std::to_string(n), "04:10:00");
        answer("status cd position", position);
        answer("status cd mode", "playing");
    }

    std::map<std::string, Answer> answers;
    std::vector<std::string> sent;
    // Refused, as by a drive that does not know it: a mistyped command cannot pass unnoticed.
    int unknownCode = 261;
};

}  // namespace velmora::test
