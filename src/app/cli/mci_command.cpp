// velmora-cli mci: a command string per input line; per line out: code TAB reply TAB text.
#include "app/cli/cli_common.h"
#include "platform/mci/drive_mci.h"
#include "platform/program_folder.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace velmora::cli {

int runMci(const QStringList& args) {
    if (!expectNoArguments(QStringLiteral("mci"), args)) return kExitUsage;
    DriveMci device = openDriveMci(demoDiscPath());
    reportDriveSelection(device.selection);

    constexpr int kReplyBuffer = 256;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        char reply[kReplyBuffer] = {0};
        const int code = device.mci->sendString(line, reply, kReplyBuffer);
        char text[kReplyBuffer] = {0};
        if (code != 0) device.mci->errorString(code, text, kReplyBuffer);
        std::printf("%d\t%s\t%s\n", code, reply, text);
        std::fflush(stdout);
    }
    return kExitOk;
}

}  // namespace velmora::cli
