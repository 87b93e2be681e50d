#include "player/display_refresh.h"

#include "platform/mci_service.h"
#include "player/disc_identity.h"
#include "player/mci_channel.h"
#include "player/player_session.h"
#include "shared/reply_parse.h"
#include "shared/units.h"

#include <QTimer>

#include <cmath>
#include <limits>

namespace velmora {

DisplayRefresh::DisplayRefresh(PlayerSession& session, DiscIdentity& identity)
    : session_(session), identity_(identity) {
    QObject::connect(session_.tmrUpdate(), &QTimer::timeout, &session_, [this] { tmrUpdate_Timer(); });
}

void DisplayRefresh::tmrUpdate_Timer() {
    if (!gate_ || gate_()) UpdateDisplay();
    else FollowDrive();
}

void DisplayRefresh::FollowDrive() {
    // Until an audio disc is known, there is nothing lighter to follow.
    if (session_.state().discKind != DiscKind::Audio) {
        UpdateDisplay();
        return;
    }
    const PlayerSession::Changes changes(session_);
    const QString present = session_.channel().plainSend(QStringLiteral("status cd media present"), kReplyBuffer);
    if (!present.startsWith(QLatin1String("true"), Qt::CaseInsensitive)) {
        session_.showNoDisc();
        return;
    }
    followPosition();
    followMode();
}

void DisplayRefresh::UpdateDisplay() {
    MciChannel& mci = session_.channel();
    const PlayerSession::Changes changes(session_);

    const QString present = mci.plainSend(QStringLiteral("status cd media present"), kReplyBuffer);
    if (!present.startsWith(QLatin1String("true"), Qt::CaseInsensitive)) {
        session_.showNoDisc();
        return;
    }

    const QString type = mci.plainSend(QStringLiteral("status cd type track 1"), kReplyBuffer);
    if (type.left(5) != QLatin1String("audio")) {
        session_.showDataDisc();
        return;
    }
    session_.showAudioDisc();

    const auto unidentified = [this] {
        const QString& id = session_.disc().ID;
        return id.isEmpty() || id == QLatin1String("0");
    };
    if (unidentified()) identity_.identifyDisc();

    const QString count = mci.plainSend(QStringLiteral("status cd number of tracks wait"), kReplyBuffer);
    const auto tracks = static_cast<std::int16_t>(wholeNumberAt(count, 1, 2));
    // A count of 0 (or none) leaves the lengths of the last disc in place.
    QStringList lengths;
    if (tracks >= 1) {
        lengths.reserve(tracks);
        const QString query = QStringLiteral("status cd length track ");
        for (int n = 1; n <= tracks; ++n) lengths.append(mci.plainSend(query + QString::number(n), kReplyBuffer));
    }
    session_.setTrackTable(tracks, lengths);

    followPosition();

    if (session_.disc().ID.isEmpty()) identity_.identifyDisc();

    followMode();
}

void DisplayRefresh::followPosition() {
    const PlayerSession::Changes changes(session_);
    // An empty reply keeps the last position rather than jumping to 0.
    const QString position = session_.channel().plainSend(QStringLiteral("status cd position"), kReplyBuffer);
    if (!position.isEmpty())
        session_.setPosition(
            static_cast<int>(wholeNumberAt(position, 1, 2)), static_cast<int>(wholeNumberAt(position, 4, 5)),
            static_cast<int>(wholeNumberAt(position, 7, 8)), static_cast<int>(wholeNumberAt(position, 10, 11)));
    const PlayerState& state = session_.state();
    const QString length = state.trackLength(state.CurrentTrack);
    const int lengthSeconds = length.isEmpty() ? 0 : lengthInSeconds(length);
    if (lengthSeconds == 0) {
        session_.setBar(0);
    } else {
        const int elapsed = state.CurrentMinute * 60 + state.CurrentSecond;
        const double width = std::floor(static_cast<double>(elapsed) / lengthSeconds * kBarTwips);
        // A width that does not fit the bar's scale is not drawn at all.
        if (width >= std::numeric_limits<std::int16_t>::min() && width <= std::numeric_limits<std::int16_t>::max())
            session_.setBar(static_cast<int>(width));
    }
}

void DisplayRefresh::followMode() {
    MciChannel& mci = session_.channel();
    const QString mode = mci.plainSend(QStringLiteral("status cd mode"), kReplyBuffer);
    session_.setMode(mode.left(7) == QLatin1String("playing"), mode.left(6) == QLatin1String("paused"));
    // Put away too: playback that stopped on a failure is told.
    session_.playbackFailed(QString::fromStdString(mci.service().takePlaybackFailure()));
    if (afterRead_) afterRead_();
}

}  // namespace velmora
