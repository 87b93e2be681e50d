#include "player/end_watch.h"

#include "player/mci_channel.h"
#include "player/player_session.h"
#include "shared/units.h"

#include <QTimer>

#include <algorithm>

namespace velmora {

namespace {
// How long before the end the timer looks: from the refresh's reading (to the second, and
// perhaps a second old), and from the drive's own reading to the frame.
constexpr int kLooseLeadMs = 1500;
constexpr int kPreciseLeadMs = 150;
// Once at the end, how soon to look again while the drive still plays.
constexpr int kPastEndMs = 4;

// Frames from `from` until the play stops at `end`; unknown lengths count as nothing, so
// the guess comes early rather than late.
int framesUntil(const PlayerState& state, TrackPoint from, const PlayEnd& end) {
    const int last = end.discEnd ? state.NumTracks : end.at.track;
    const int target = end.discEnd ? trackFrames(state, last) : end.at.frame;
    if (from.track > last) return 0;
    if (from.track == last) return target - from.frame;
    int frames = trackFrames(state, from.track) - from.frame + target;
    for (int t = from.track + 1; t < last; ++t) frames += trackFrames(state, t);
    return frames;
}
}  // namespace

EndWatch::EndWatch(PlayerSession& session, QObject* parent)
    : QObject(parent), session_(session), timer_(new QTimer(this)) {
    timer_->setObjectName(QStringLiteral("tmrPlayEnd"));
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &EndWatch::check);
}

void EndWatch::watch(TrackPoint from, const PlayEnd& end) {
    watching_ = true;
    end_ = end;
    schedule(framesUntil(session_.state(), from, end), kLooseLeadMs);
}

void EndWatch::forget() {
    watching_ = false;
    timer_->stop();
}

bool EndWatch::reached(const PlayerState& state, TrackPoint position, const PlayEnd& end) {
    if (end.discEnd) {
        const int length = trackFrames(state, position.track);
        return length > 0 && position.frame >= length - kFramesPerSecond;
    }
    return position.track > end.at.track ||
           (position.track == end.at.track && position.frame >= end.at.frame - kFramesPerSecond);
}

void EndWatch::schedule(int remainingFrames, int leadMs) {
    const int ms = static_cast<int>(static_cast<long long>(remainingFrames) * 1000 / kFramesPerSecond);
    timer_->start(ms > 2 * leadMs ? ms - leadMs : std::max(ms, 0) + kPastEndMs);
}

void EndWatch::check() {
    if (!watching_) return;
    MciChannel& mci = session_.channel();
    const QString mode = mci.plainSend(QStringLiteral("status cd mode"), kReplyBuffer);
    const TrackPoint position = tmsfPoint(mci.plainSend(QStringLiteral("status cd position"), kReplyBuffer));
    const PlayerState& state = session_.state();
    if (mode.left(7) == QLatin1String("playing")) {
        schedule(framesUntil(state, position, end_), kPreciseLeadMs);
    } else if (mode.left(7) == QLatin1String("stopped") && reached(state, position, end_)) {
        finish();
    } else {
        // Paused by someone else, stopped short (a failure), or the disc went.
        forget();
    }
}

void EndWatch::refreshed() {
    const PlayerState& s = session_.state();
    if (!watching_ || s.discKind != DiscKind::Audio || s.Playing || s.Paused) return;
    const TrackPoint position{s.CurrentTrack, (s.CurrentMinute * 60 + s.CurrentSecond) * kFramesPerSecond};
    if (reached(s, position, end_)) finish();
}

void EndWatch::finish() {
    forget();
    emit ended();
}

}  // namespace velmora
