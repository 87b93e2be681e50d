// velmora-cli discid: the disc ID of the disc in the drive, computed as the player does.
#include "app/cli/cli_common.h"
#include "player/disc_identity.h"

#include <cstdio>

namespace velmora::cli {

int runDiscId(const QStringList& args) {
    if (!expectNoArguments(QStringLiteral("discid"), args)) return kExitUsage;
    PlayerDevice device;
    if (fileProblemReported()) return kExitFileProblem;
    if (!device.opened()) return kExitFailure;
    const QString id = discIdFromReplies(readDiscTocReplies(device.channel()));
    std::printf("%s\n", id.toLatin1().constData());
    return kExitOk;
}

}  // namespace velmora::cli
