#include "player/display_refresh.h"

#include "player/disc_identity.h"
#include "player/mci_channel.h"
#include "player/player_session.h"
#include "shared/reply_parse.h"

#include <QTimer>

#include <cmath>
#include <limits>

namespace velmora {

namespace {
constexpr int kReplyBuffer = 30;
constexpr int kBarTwips = 1670;
}  // namespace

DisplayRefresh::DisplayRefresh(PlayerSession& session, DiscIdentity& identity, std::function<void()> letEventsRun)
    : session_(session), identity_(identity), letEventsRun_(std::move(letEventsRun)) {
    QObject::connect(session_.tmrUpdate(), &QTimer::timeout, &session_, [this] { tmrUpdate_Timer(); });
}

void DisplayRefresh::tmrUpdate_Timer() {
    if (!gate_ || gate_()) UpdateDisplay();
}

void DisplayRefresh::UpdateDisplay() {
    if (waiting_) return;
    waiting_ = true;
    session_.runStep([this] {
        waiting_ = false;
        refreshNow();
    });
}

void DisplayRefresh::refreshNow() {
    MciChannel& mci = session_.channel();
    PlayerState& state = session_.mutableState();
    DiscRecord& disc = session_.mutableDisc();
    auto letEventsRun = [this] {
        if (letEventsRun_) letEventsRun_();
    };

    const QString present = mci.plainSend(QStringLiteral("status cd media present"), kReplyBuffer);
    letEventsRun();

    if (!present.startsWith(QLatin1String("true"), Qt::CaseInsensitive)) {
        // The readout, the bar and the track count keep their last values.
        state.discKind = DiscKind::None;
        state.enables = TransportEnables::none();
        disc.Artist = QStringLiteral("No Disc Loaded");
        disc.Title.clear();
        disc.ID.clear();
        disc.NumberOfTracks = 0;
        disc.Extra.clear();
        disc.Revision = 1;
        session_.ShowDiscInfo();
        letEventsRun();
        return;
    }

    const QString type = mci.plainSend(QStringLiteral("status cd type track 1"), kReplyBuffer);
    if (type.left(5) != QLatin1String("audio")) {
        state.discKind = DiscKind::Data;
        state.enables = TransportEnables::none();
        disc.Artist = QStringLiteral("Data CD Loaded");
        session_.ShowDiscInfo();
        return;
    }
    state.discKind = DiscKind::Audio;

    if (disc.ID.isEmpty() || disc.ID == QLatin1String("0")) identity_.identifyDisc();

    const QString count = mci.plainSend(QStringLiteral("status cd number of tracks wait"), kReplyBuffer);
    state.NumTracks = static_cast<std::int16_t>(wholeNumberAt(count, 1, 2));

    // A count of 0 (or none) leaves the lengths of the last disc in place.
    if (state.NumTracks >= 1) {
        QStringList lengths;
        lengths.reserve(state.NumTracks);
        const QString query = QStringLiteral("status cd length track ");
        for (int n = 1; n <= state.NumTracks; ++n) {
            lengths.append(mci.plainSend(query + QString::number(n), kReplyBuffer));
            letEventsRun();
        }
        state.TrackLengths = std::move(lengths);
    }

    // An empty reply keeps the last position rather than jumping to 0.
    const QString position = mci.plainSend(QStringLiteral("status cd position"), kReplyBuffer);
    if (!position.isEmpty()) {
        state.CurrentTrack = static_cast<std::int16_t>(wholeNumberAt(position, 1, 2));
        state.CurrentMinute = static_cast<std::int16_t>(wholeNumberAt(position, 4, 5));
        state.CurrentSecond = static_cast<std::int16_t>(wholeNumberAt(position, 7, 8));
    }

    const QString length = state.trackLength(state.CurrentTrack);
    const int lengthSeconds = length.isEmpty() ? 0 : lengthInSeconds(length);
    if (lengthSeconds == 0) {
        state.ProgressWidth = 0;
        state.barWidthTwips = 0;
    } else {
        const int elapsed = state.CurrentMinute * 60 + state.CurrentSecond;
        const double width = std::floor(static_cast<double>(elapsed) / lengthSeconds * kBarTwips);
        // A width that does not fit the bar's scale is not drawn at all.
        if (width >= std::numeric_limits<std::int16_t>::min() && width <= std::numeric_limits<std::int16_t>::max()) {
            state.ProgressWidth = static_cast<std::int16_t>(width);
            state.barWidthTwips = state.ProgressWidth;
        }
    }

    if (disc.ID.isEmpty()) identity_.identifyDisc();

    const QString mode = mci.plainSend(QStringLiteral("status cd mode"), kReplyBuffer);
    state.Playing = mode.left(7) == QLatin1String("playing");
    state.Paused = mode.left(6) == QLatin1String("paused");
    state.enables = TransportEnables::forPlaying(state.Playing);

    session_.ShowDiscInfo();
    letEventsRun();
}

}  // namespace velmora
