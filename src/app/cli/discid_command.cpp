// velmora-cli discid: the disc ID of the disc in the drive, computed as the player does.
#include "app/cli/cli_common.h"
#include "discdb/disc_id.h"
#include "platform/mci/drive_mci.h"
#include "platform/program_folder.h"
#include "player/mci_channel.h"

#include <cstdio>

namespace velmora::cli {

int runDiscId(const QStringList& args) {
    if (!expectNoArguments(QStringLiteral("discid"), args)) return kExitUsage;
    DriveMci device = openDriveMci(demoDiscPath());
    if (!device.selection.error.isEmpty()) printError(device.selection.error);

    StderrMessageBoxes boxes;
    MciChannel channel(*device.mci, boxes, qEnvironmentVariable("VELMORA_MCI_LOG"));
    if (!channel.SendMCIString(QStringLiteral("open cdaudio alias cd wait shareable"), true))
        return kExitFailure;
    channel.SendMCIString(QStringLiteral("set cd time format tmsf wait"), true);
    const QString id = GetDiscID(channel);
    channel.SendMCIString(QStringLiteral("close all"), false);
    std::printf("%s\n", id.toLatin1().constData());
    return kExitOk;
}

}  // namespace velmora::cli
