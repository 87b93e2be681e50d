// velmora-cli info: what the player loads from the disc database for the disc in the
// drive, creating the disc's default section just as the player does.
#include "app/cli/cli_common.h"
#include "discdb/disc_database.h"
#include "player/disc_identity.h"
#include "platform/program_folder.h"
#include "shared/reply_parse.h"
#include "shared/units.h"

#include <algorithm>
#include <cstdio>

namespace velmora::cli {

int runInfo(const QStringList& args) {
    if (!expectNoArguments(QStringLiteral("info"), args)) return kExitUsage;
    PlayerDevice device;
    if (fileProblemReported()) return kExitFileProblem;
    if (!device.opened()) return kExitFailure;
    MciChannel& channel = device.channel();

    if (channel.plainSend(QStringLiteral("status cd media present"), 30) != u"true") {
        printError(QStringLiteral("no disc in the drive"));
        return kExitFailure;
    }
    if (!channel.plainSend(QStringLiteral("status cd type track 1"), 30).startsWith(u"audio")) {
        printError(QStringLiteral("the disc in the drive is not an audio CD"));
        return kExitFailure;
    }

    const ProgramFolders folders = programFolders();
    DiscDatabase database(discDatabasePath(folders.userData, folders.program));
    PlayerSession& session = device.session();
    // What the player shows in a box (the database cannot be read or written).
    QObject::connect(&session, &PlayerSession::problem, &session, &reportFileProblem);
    DiscIdentity(session, database).identifyDisc();
    if (fileProblemReported()) return kExitFileProblem;
    const auto tracks = std::clamp<std::int64_t>(
        numericValue(channel.plainSend(QStringLiteral("status cd number of tracks wait"), 30)), 0, kMaxTracks);

    const DiscRecord& disc = session.disc();
    printLine(QStringLiteral("ID"), disc.ID);
    printLine(QStringLiteral("Title"), disc.Title);
    printLine(QStringLiteral("Artist"), disc.Artist);
    printLine(QStringLiteral("Revision"), QString::number(disc.Revision));
    for (int n = 1; n <= tracks; ++n) printLine(QStringLiteral("Track%1").arg(n), disc.track(n));
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}

}  // namespace velmora::cli
