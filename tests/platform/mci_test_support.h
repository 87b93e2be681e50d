#pragma once

#include "platform/cd_drive.h"
#include "platform/clock.h"
#include "platform/mci/mci_interpreter.h"
#include "platform/sim/simulated_drive.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::testing_support {

// A table of contents from start frames; every track audio unless listed in `dataTracks`.
inline DiscToc makeToc(const std::vector<int>& starts, int leadout,
                       const std::vector<int>& dataTracks = {}) {
    DiscToc toc;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        bool audio = true;
        for (int d : dataTracks)
            if (d == number) audio = false;
        toc.tracks.push_back({number, starts[i], audio});
    }
    toc.leadoutFrame = leadout;
    return toc;
}

// Three audio tracks at 150, 20000 and 40000; leadout 60000.
inline DiscToc knownDisc() { return makeToc({150, 20000, 40000}, 60000); }

// An interpreter over a simulated drive on a manual clock, with the device open as "cd".
struct MciRig {
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    std::shared_ptr<SimulatedDrive> drive = std::make_shared<SimulatedDrive>(clock);
    MciInterpreter mci{[this] { return drive; }};

    explicit MciRig(std::optional<DiscToc> toc = knownDisc(), bool open = true) {
        if (toc) drive->insert(*toc);
        if (open) send("open cdaudio alias cd wait shareable");
    }

    struct Result {
        int code;
        std::string reply;
    };
    Result send(const std::string& command, int bufferLength = 128) {
        // One sentinel NUL past the end, so a reply left unterminated shows as trailing Zs.
        std::vector<char> buffer(static_cast<std::size_t>(bufferLength > 0 ? bufferLength : 0) + 1, 'Z');
        buffer.back() = '\0';
        const int code = mci.sendString(command, buffer.data(), bufferLength);
        return {code, bufferLength > 0 ? std::string(buffer.data()) : std::string()};
    }
    std::string reply(const std::string& command) { return send(command).reply; }
    int code(const std::string& command) { return send(command).code; }
};

}  // namespace velmora::testing_support
