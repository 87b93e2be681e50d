#include "player/transport.h"

#include "player/display_refresh.h"
#include "player/mci_channel.h"
#include "player/sequencer.h"
#include "shared/reply_parse.h"
#include "shared/units.h"

#include <QTimer>

namespace velmora {

namespace {
constexpr int kPositionBuffer = 40;
constexpr int kPlayingInterval = 1000;
constexpr int kStoppedInterval = 3000;

QString to(const PlayEnd& end) { return end.discEnd ? QString() : QStringLiteral(" to ") + end.tmsf(); }
}  // namespace

Transport::Transport(PlayerSession& session, DisplayRefresh& refresh, Sequencer& sequencer, EndWatch& watch)
    : session_(session), refresh_(refresh), sequencer_(sequencer), watch_(watch) {}

template <typename Work>
CommandResult Transport::run(Work&& work) {
    const PlayerSession::Changes changes(session_);
    result_ = {};
    work();
    return result_;
}

// Sends with the error shown; the first failure of a command is its result.
bool Transport::send(const QString& command) {
    MciChannel& mci = session_.channel();
    const bool ok = mci.SendMCIString(command, true);
    if (!ok && result_.ok()) result_ = session_.failure(mci.lastResult());
    return ok;
}

TrackPoint Transport::here() const {
    const PlayerState& s = session_.state();
    return {s.CurrentTrack, (s.CurrentMinute * 60 + s.CurrentSecond) * kFramesPerSecond};
}

void Transport::follow(int track, TrackPoint from, const PlayEnd& end) {
    stretchTrack_ = track;
    watch_.watch(from, end);
}

PlayEnd Transport::currentEnd() const {
    return watch_.watching() ? watch_.end() : sequencer_.endOf(session_.state().CurrentTrack);
}

void Transport::followAgain(const PlayEnd& end) {
    if (session_.state().Playing)
        follow(watch_.watching() ? stretchTrack_ : session_.state().CurrentTrack, here(), end);
}

CommandResult Transport::Play() {
    return run([this] {
        const PlayerState& s = session_.state();
        QString command = QStringLiteral("play cd");
        int track = s.CurrentTrack;
        TrackPoint from = here();
        if (session_.modes().anyOn()) {
            const Sequencer::Start start = sequencer_.playStart();
            if (start.track != 0) {
                track = start.track;
                if (!start.resume) {
                    command = QStringLiteral("play cd from ") + QString::number(track);
                    from = {track, 0};
                }
                command += to(sequencer_.endOf(track));
            }
        }
        // Only a drive that took the command is playing; the next refresh reads the rest.
        if (send(command)) {
            session_.setPlaying(true);
            follow(track, from, sequencer_.endOf(track));
        }
        session_.tmrUpdate()->setInterval(kPlayingInterval);
    });
}

CommandResult Transport::Pause() {
    return run([this] {
        watch_.forget();
        send(QStringLiteral("pause cd"));
        session_.setPlaying(false);
        refresh_.UpdateDisplay();
    });
}

CommandResult Transport::Stop() {
    return run([this] {
        watch_.forget();
        send(QStringLiteral("stop cd wait"));
        // Back to the start of the track that was playing, so that Play resumes there.
        send(QStringLiteral("seek cd to ") + QString::number(session_.state().CurrentTrack));
        session_.setPlaying(false);
        session_.tmrUpdate()->setInterval(kStoppedInterval);
        refresh_.UpdateDisplay();
    });
}

CommandResult Transport::Eject() {
    return run([this] {
        watch_.forget();
        const QString mode = session_.channel().plainSend(QStringLiteral("status cd mode"), kReplyBuffer);
        send(mode.left(4) == QLatin1String("open") ? QStringLiteral("set cd door closed")
                                                   : QStringLiteral("set cd door open"));
    });
}

bool Transport::playTrack(int track) {
    const PlayEnd end = sequencer_.endOf(track);
    if (!send(QStringLiteral("play cd from ") + QString::number(track) + to(end))) return false;
    follow(track, {track, 0}, end);
    return true;
}

void Transport::playOrSeekTrack(int track) {
    if (session_.state().Playing) {
        playTrack(track);
        return;
    }
    watch_.forget();
    send(QStringLiteral("seek cd to ") + QString::number(track));
}

CommandResult Transport::NextTrack() {
    return run([this] {
        const PlayerState& s = session_.state();
        if (session_.modes().anyOn()) {
            if (const int track = sequencer_.next()) playOrSeekTrack(track);
        } else if (s.CurrentTrack < s.NumTracks) {
            playOrSeekTrack(s.CurrentTrack + 1);
        }
        refresh_.UpdateDisplay();
    });
}

CommandResult Transport::PreviousTrack() {
    return run([this] {
        const PlayerState& s = session_.state();
        int track = s.CurrentTrack;
        if (s.CurrentMinute == 0 && s.CurrentSecond < 6) {
            // Within the first seconds of a track: go to the one before, if any.
            if (session_.modes().anyOn()) track = sequencer_.previous();
            else track = s.CurrentTrack <= 1 ? 0 : s.CurrentTrack - 1;
            if (track == 0) return;
        }
        playOrSeekTrack(track);
    });
}

CommandResult Transport::GoToTrack(int track) {
    return run([this, track] {
        if (track <= session_.state().NumTracks) {
            if (session_.modes().anyOn()) sequencer_.pick(track);
            playOrSeekTrack(track);
        }
        refresh_.UpdateDisplay();
    });
}

// A play under the modes must stop where the watched one stops, also after a jump.
QString Transport::toInMilliseconds(const PlayEnd& end) {
    if (end.discEnd) return {};
    const QString start = session_.channel().plainSend(
        QStringLiteral("status cd position track ") + QString::number(end.at.track), kPositionBuffer);
    if (start.isEmpty()) return {};
    const std::int64_t ms = numericValue(start) + static_cast<std::int64_t>(end.at.frame) * 1000 / kFramesPerSecond;
    return QStringLiteral(" to ") + QString::number(ms);
}

void Transport::jump(int direction) {
    MciChannel& mci = session_.channel();
    const PlayerState& s = session_.state();
    const PlayEnd end = currentEnd();
    send(QStringLiteral("set cd time format milliseconds"));
    const QString reply = mci.plainSend(QStringLiteral("status cd position wait"), kPositionBuffer);
    // Without a position there is nothing to jump from; the format still goes back to tmsf.
    if (s.Playing && !reply.isEmpty()) {
        const auto position = static_cast<std::int32_t>(numericValue(reply));
        const std::int64_t target =
            static_cast<std::int64_t>(position) + direction * static_cast<std::int64_t>(s.SeekStep) * 1000;
        // A target off the disc (or past the play's end) is refused by the drive; playing
        // goes on where it was.
        mci.plainSend(QStringLiteral("play cd from ") + QString::number(target) + toInMilliseconds(end), 0);
    }
    send(QStringLiteral("set cd time format tmsf"));
    refresh_.UpdateDisplay();
    followAgain(end);
}

CommandResult Transport::FastForward() {
    return run([this] { jump(+1); });
}
CommandResult Transport::Rewind() {
    return run([this] { jump(-1); });
}

CommandResult Transport::PlayFromSecondOfTrack(int seconds) {
    return run([this, seconds] {
        MciChannel& mci = session_.channel();
        const PlayerState& s = session_.state();
        if (!s.Playing) return;
        const PlayEnd end = currentEnd();
        send(QStringLiteral("set cd time format milliseconds"));
        const QString reply = mci.plainSend(
            QStringLiteral("status cd position track ") + QString::number(s.CurrentTrack), kPositionBuffer);
        const auto trackStart = static_cast<std::int32_t>(numericValue(reply));
        const std::int64_t target = (static_cast<std::int64_t>(trackStart / 1000) + seconds) * 1000;
        mci.plainSend(QStringLiteral("play cd from ") + QString::number(target) + toInMilliseconds(end), 0);
        send(QStringLiteral("set cd time format tmsf"));
        refresh_.UpdateDisplay();
        followAgain(end);
    });
}

void Transport::goOnAfter(const PlayEnd& ended) {
    const int track = sequencer_.after(stretchTrack_, ended);
    const bool playing = track != 0 && playTrack(track);
    // The disc has played through: stopped at the start of track 1, so Play plays it again.
    if (track == 0) send(QStringLiteral("seek cd to 1"));
    session_.setPlaying(playing);
    session_.tmrUpdate()->setInterval(playing ? kPlayingInterval : kStoppedInterval);
    refresh_.UpdateDisplay();
}

CommandResult Transport::PlayEnded() {
    return run([this] { goOnAfter(watch_.end()); });
}

CommandResult Transport::SetPlayModes(const PlayModes& modes) {
    return run([this, modes] {
        const PlayModes before = session_.modes();
        if (modes == before) return;
        const PlayerState& s = session_.state();
        session_.setModes(modes);
        sequencer_.modesChanged(before, s.Playing || s.Paused ? s.CurrentTrack : 0);
        if (!s.Playing || !watch_.watching()) return;

        // Where the play stands now, from the drive: the window may not have been
        // refreshing.
        const TrackPoint position =
            tmsfPoint(session_.channel().plainSend(QStringLiteral("status cd position"), kReplyBuffer));
        if (position.track == 0) return;
        const PlayEnd end = sequencer_.endOf(position.track);
        if (end.discEnd || end == watch_.end()) return;
        stretchTrack_ = position.track;
        if (EndWatch::reached(s, position, end)) {
            watch_.forget();
            goOnAfter(end);
        } else if (send(QStringLiteral("play cd") + to(end))) {
            follow(position.track, position, end);
        }
    });
}

CommandResult Transport::PlayFromFrameOfTrack(int frames) {
    return run([this, frames] {
        const PlayerState& s = session_.state();
        if (!s.Playing || frames < 0) return;
        // A tmsf position names the frame itself: no change of time format is needed.
        const auto two = [](int n) { return QString::number(n).rightJustified(2, u'0'); };
        const int seconds = frames / kFramesPerSecond;
        send(QStringLiteral("play cd from ") + two(s.CurrentTrack) + u':' + two(seconds / 60) + u':' +
             two(seconds % 60) + u':' + two(frames % kFramesPerSecond));
        refresh_.UpdateDisplay();
    });
}

}  // namespace velmora
