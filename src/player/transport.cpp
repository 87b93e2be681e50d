#include "player/transport.h"

#include "player/display_refresh.h"
#include "player/mci_channel.h"
#include "shared/reply_parse.h"
#include "shared/units.h"

#include <QTimer>

namespace velmora {

namespace {
constexpr int kReplyBuffer = 30;
constexpr int kPositionBuffer = 40;
constexpr int kPlayingInterval = 1000;
constexpr int kStoppedInterval = 3000;
}  // namespace

Transport::Transport(PlayerSession& session, DisplayRefresh& refresh) : session_(session), refresh_(refresh) {}

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

CommandResult Transport::Play() {
    return run([this] {
        // Only a drive that took the command is playing; the next refresh reads the rest.
        if (send(QStringLiteral("play cd"))) session_.setPlaying(true);
        session_.tmrUpdate()->setInterval(kPlayingInterval);
    });
}

CommandResult Transport::Pause() {
    return run([this] {
        send(QStringLiteral("pause cd"));
        session_.setPlaying(false);
        refresh_.UpdateDisplay();
    });
}

CommandResult Transport::Stop() {
    return run([this] {
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
        const QString mode = session_.channel().plainSend(QStringLiteral("status cd mode"), kReplyBuffer);
        send(mode.left(4) == QLatin1String("open") ? QStringLiteral("set cd door closed")
                                                   : QStringLiteral("set cd door open"));
    });
}

void Transport::playOrSeekTrack(int track) {
    send((session_.state().Playing ? QStringLiteral("play cd from ") : QStringLiteral("seek cd to ")) +
         QString::number(track));
}

CommandResult Transport::NextTrack() {
    return run([this] {
        const PlayerState& s = session_.state();
        if (s.CurrentTrack < s.NumTracks) playOrSeekTrack(s.CurrentTrack + 1);
        refresh_.UpdateDisplay();
    });
}

CommandResult Transport::PreviousTrack() {
    return run([this] {
        const PlayerState& s = session_.state();
        int track = s.CurrentTrack;
        if (s.CurrentMinute == 0 && s.CurrentSecond < 6) {
            // Within the first seconds of a track: go to the one before, if any.
            if (s.CurrentTrack <= 1) return;
            track = s.CurrentTrack - 1;
        }
        playOrSeekTrack(track);
    });
}

CommandResult Transport::GoToTrack(int track) {
    return run([this, track] {
        if (track <= session_.state().NumTracks) playOrSeekTrack(track);
        refresh_.UpdateDisplay();
    });
}

void Transport::jump(int direction) {
    MciChannel& mci = session_.channel();
    const PlayerState& s = session_.state();
    send(QStringLiteral("set cd time format milliseconds"));
    const QString reply = mci.plainSend(QStringLiteral("status cd position wait"), kPositionBuffer);
    // Without a position there is nothing to jump from; the format still goes back to tmsf.
    if (s.Playing && !reply.isEmpty()) {
        const auto position = static_cast<std::int32_t>(numericValue(reply));
        const std::int64_t target =
            static_cast<std::int64_t>(position) + direction * static_cast<std::int64_t>(s.SeekStep) * 1000;
        // A target off the disc is refused by the drive; playing goes on where it was.
        mci.plainSend(QStringLiteral("play cd from ") + QString::number(target), 0);
    }
    send(QStringLiteral("set cd time format tmsf"));
    refresh_.UpdateDisplay();
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
        send(QStringLiteral("set cd time format milliseconds"));
        const QString reply = mci.plainSend(
            QStringLiteral("status cd position track ") + QString::number(s.CurrentTrack), kPositionBuffer);
        const auto trackStart = static_cast<std::int32_t>(numericValue(reply));
        const std::int64_t target = (static_cast<std::int64_t>(trackStart / 1000) + seconds) * 1000;
        mci.plainSend(QStringLiteral("play cd from ") + QString::number(target), 0);
        send(QStringLiteral("set cd time format tmsf"));
        refresh_.UpdateDisplay();
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
