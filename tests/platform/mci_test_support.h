#pragma once

#include "platform/cd_drive.h"
#include "platform/clock.h"
#include "platform/mci/mci_interpreter.h"
#include "platform/sim/simulated_drive.h"

#include <gtest/gtest.h>

#include <algorithm>
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
        toc.tracks.push_back({number, starts[i], std::ranges::find(dataTracks, number) == dataTracks.end()});
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
    int driveRequests = 0;
    MciInterpreter mci{[this] {
        ++driveRequests;
        return drive;
    }};

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

    // One command and what it must give: its reply, or "#<code>" for an error (whose
    // reply must be empty). A command "+<ms>" moves the clock on instead.
    struct Step {
        std::string command;
        std::string expect = {};
    };
    void run(const std::vector<Step>& steps) {
        for (const Step& step : steps) {
            if (step.command.starts_with('+')) {
                clock->advanceMs(std::stoi(step.command.substr(1)));
                continue;
            }
            const Result result = send(step.command);
            const bool error = step.expect.starts_with('#');
            EXPECT_EQ(result.code, error ? std::stoi(step.expect.substr(1)) : 0) << step.command;
            EXPECT_EQ(result.reply, error ? "" : step.expect) << step.command;
        }
    }
};

// A named script on a drive holding `disc`, with "cd" opened first unless `open` is false.
struct Session {
    const char* name;
    std::vector<MciRig::Step> steps;
    std::optional<DiscToc> disc = knownDisc();
    bool open = true;
};
inline void PrintTo(const Session& s, std::ostream* os) { *os << s.name; }
inline std::string sessionName(const ::testing::TestParamInfo<Session>& info) { return info.param.name; }
inline void runSession(const Session& s) { MciRig(s.disc, s.open).run(s.steps); }

}  // namespace velmora::testing_support
