#include "player/disc_identity.h"

#include "discdb/disc_database.h"
#include "platform/mci_service.h"
#include "player/mci_channel.h"
#include "player/player_session.h"
#include "shared/reply_parse.h"
#include "shared/units.h"

#include <algorithm>
#include <optional>

namespace velmora {

DiscIdentity::DiscIdentity(PlayerSession& session, DiscDatabase& database) : session_(session), database_(database) {}

DiscTocReplies readDiscTocReplies(MciChannel& mci) {
    DiscTocReplies replies;
    mci.plainSend(QStringLiteral("set cd time format msf"), kReplyBuffer);
    replies.length = mci.plainSend(QStringLiteral("status cd length wait"), kReplyBuffer);
    replies.trackCount = mci.plainSend(QStringLiteral("status cd number of tracks wait"), kReplyBuffer);
    const int tracks = discIdTrackCount(replies.trackCount);
    for (int i = 1; i <= tracks; ++i)
        replies.trackStarts.append(
            mci.plainSend(QStringLiteral("status cd position track ") + QString::number(i), kReplyBuffer));
    mci.plainSend(QStringLiteral("set cd time format tmsf"), kReplyBuffer);
    return replies;
}

bool lastTrackIsData(MciChannel& mci, const DiscTocReplies& toc) {
    const int tracks = discIdTrackCount(toc.trackCount);
    if (tracks < 2) return false;
    return !mci.plainSend(QStringLiteral("status cd type track %1").arg(tracks), kReplyBuffer)
                .startsWith(QLatin1String("audio"));
}

QString DiscIdentity::GetDiscID() {
    lastToc_ = readDiscTocReplies(session_.channel());
    lastId_ = discIdFromReplies(lastToc_);
    return lastId_;
}

void DiscIdentity::GetCDINFO(const QString& discID) {
    // No ID: nothing to load; the refresh tells the session what the drive holds.
    if (discID.isEmpty()) return;
    DiscLoad load = database_.find(discID);
    std::optional<NewDisc> added;
    if (!load.record) {
        const std::int64_t reply =
            numericValue(session_.channel().plainSend(QStringLiteral("status cd number of tracks wait"), kReplyBuffer));
        const DiscText text = session_.channel().service().discText();
        const int tracks = static_cast<int>(std::clamp<std::int64_t>(reply, 0, kMaxTracks));
        load = database_.addDefault(discID, tracks, text);
        added = NewDisc{discID, discID == lastId_ ? lastToc_ : DiscTocReplies{}, tracks, !text.empty()};
    }
    session_.reportProblem(load.error);
    DiscRecord loaded = *load.record;
    loaded.ID = discID;
    session_.loadDisc(loaded);
    if (added) emit discAdded(*added);
}

void DiscIdentity::identifyDisc() { GetCDINFO(GetDiscID()); }

}  // namespace velmora
