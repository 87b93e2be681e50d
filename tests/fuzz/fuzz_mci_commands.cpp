// The command-string interpreter on a simulated drive. Input: one command a line, its first byte
// the reply buffer's size. Every reply fits its buffer and ends in a NUL; every error code has its text.
#include "fuzz_support.h"

#include "platform/clock.h"
#include "platform/mci/mci_interpreter.h"
#include "platform/sim/simulated_drive.h"

#include <QByteArrayList>

#include <cstring>
#include <vector>

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto clock = std::make_shared<ManualClock>();
    auto drive = std::make_shared<SimulatedDrive>(clock);
    DiscToc toc;
    for (int i = 0; i < 12; ++i) toc.tracks.push_back({i + 1, 150 + i * 15000, i != 11});
    toc.leadoutFrame = 150 + 12 * 15000;
    drive->insert(toc);
    MciInterpreter mci([drive] { return drive; });

    const QByteArray input = fuzz::bytesOf(data, size);
    int lines = 0;
    for (const QByteArray& line : input.split('\n')) {
        if (++lines > 64) break;
        if (line.isEmpty()) continue;
        const int length = static_cast<unsigned char>(line[0]) % 140;  // 0 included
        std::vector<char> buffer(static_cast<size_t>(length) + 16, '\x7f');
        const std::string command(line.constData() + 1, static_cast<size_t>(line.size() - 1));
        const int code = mci.sendString(command, length ? buffer.data() : nullptr, length);
        for (size_t i = static_cast<size_t>(length); i < buffer.size(); ++i)
            if (buffer[i] != '\x7f') fuzz::broken("reply written past its buffer");
        if (length > 0 && std::memchr(buffer.data(), '\0', static_cast<size_t>(length)) == nullptr)
            fuzz::broken("reply without its NUL");
        if (code != 0 && MciInterpreter::errorText(code).empty()) fuzz::broken("error code without a text");
        clock->advanceMs(static_cast<unsigned char>(line[0]) * 37);
    }
    return 0;
}
