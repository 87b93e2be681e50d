#include "discdb/disc_database.h"

#include "player/mci_channel.h"
#include "shared/player_state.h"
#include "shared/reply_parse.h"

namespace velmora {

// Interim loader until the file store lands: every disc shows as unknown.
DiscDatabase::DiscDatabase(QString filePath) : path_(std::move(filePath)) {}

void DiscDatabase::GetCDINFO(const QString& discID, PlayerState& state, MciChannel& mci,
                             const std::function<void()>& ShowDiscInfo) {
    auto& disc = state.CurrentDisc;
    if (discID.isEmpty()) {
        disc.Artist = QStringLiteral("No Disc Loaded");
        return;
    }
    const QChar nul(u'\0');
    const auto tracks =
        numericValue(mci.plainSend(QStringLiteral("status cd number of tracks wait"), 30));
    disc.Title = QStringLiteral("Unknown Title") + nul;
    disc.Artist = QStringLiteral("Unknown Artist") + nul;
    disc.Revision = 1;
    for (int n = 1; n <= 30; ++n) disc.track(n) = n <= tracks ? QString(nul) : QString();
    disc.ID = discID;
    if (ShowDiscInfo) ShowDiscInfo();
}

QString discDatabasePath(const QString& programFolder) {
    return programFolder + QStringLiteral("/Velmora.ini");
}

}  // namespace velmora
