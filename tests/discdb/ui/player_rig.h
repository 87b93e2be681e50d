#pragma once

#include "discdb/disc_database.h"
#include "platform/clock.h"
#include "platform/mci/mci_interpreter.h"
#include "platform/message_box.h"
#include "platform/sim/simulated_drive.h"
#include "player/mci_channel.h"
#include "player/player_core.h"

#include <QTemporaryDir>

// A disc of `tracks` tracks that fits on a CD (at most 100 minutes), starts a little uneven.
inline velmora::DiscToc discOf(int tracks) {
    const int step = tracks > 20 ? 4000 : 15000;
    velmora::DiscToc toc;
    for (int n = 1; n <= tracks; ++n) toc.tracks.push_back({n, 150 + (n - 1) * step + n * 7, true});
    toc.leadoutFrame = 150 + tracks * step + 33;
    return toc;
}

// The player on the real interpreter and a simulated drive, its database in a temporary folder.
struct PlayerRig {
    PlayerRig() { insert(discOf(12)); }

    // Puts `toc` in the drive and identifies it as the player does.
    void insert(const velmora::DiscToc& toc) {
        drive->insert(toc);
        channel.SendMCIString(QStringLiteral("open cdaudio alias cd wait shareable"), true);
        channel.SendMCIString(QStringLiteral("set cd time format tmsf wait"), true);
        core.session.runStep([this] { core.identity.identifyDisc(); });
    }

    QTemporaryDir dir;
    std::shared_ptr<velmora::SimulatedDrive> drive =
        std::make_shared<velmora::SimulatedDrive>(std::make_shared<velmora::ManualClock>());
    velmora::MciInterpreter interpreter{[this] { return drive; }};
    velmora::RecordingMessageBoxes boxes;
    velmora::MciChannel channel{interpreter, boxes};
    velmora::DiscDatabase database{dir.filePath(QStringLiteral("Velmora.ini"))};
    velmora::PlayerCore core{channel, database};
};
