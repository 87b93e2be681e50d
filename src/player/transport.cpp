#include "player/transport.h"

#include "player/mci_channel.h"
#include "shared/player_state.h"
#include "shared/reply_parse.h"

#include <QTimer>

namespace velmora {

namespace {
constexpr int kReplyBuffer = 30;
constexpr int kPositionBuffer = 40;
constexpr int kPlayingInterval = 1000;
constexpr int kStoppedInterval = 3000;
}  // namespace

Transport::Transport(PlayerState& state, MciChannel& mci, QTimer* tmrUpdate,
                     std::function<void()> UpdateDisplay)
    : state_(state), mci_(mci), tmrUpdate_(tmrUpdate), UpdateDisplay_(std::move(UpdateDisplay)) {}

void Transport::Play() {
    mci_.SendMCIString(QStringLiteral("play cd"), true);
    state_.Playing = true;
    if (tmrUpdate_) tmrUpdate_->setInterval(kPlayingInterval);
}

void Transport::Pause() {
    mci_.SendMCIString(QStringLiteral("pause cd"), true);
    state_.Playing = false;
    UpdateDisplay_();
}

void Transport::Stop() {
    mci_.SendMCIString(QStringLiteral("stop cd wait"), true);
    // Back to the start of the track that was playing, so that Play resumes there.
    state_.MciCommand = QStringLiteral("seek cd to ") + QString::number(state_.CurrentTrack);
    mci_.SendMCIString(state_.MciCommand, true);
    state_.Playing = false;
    if (tmrUpdate_) tmrUpdate_->setInterval(kStoppedInterval);
    UpdateDisplay_();
}

void Transport::Eject() {
    const QString mode = mci_.plainSend(QStringLiteral("status cd mode"), kReplyBuffer);
    if (mode.left(4) == QLatin1String("open"))
        mci_.SendMCIString(QStringLiteral("set cd door closed"), true);
    else
        mci_.SendMCIString(QStringLiteral("set cd door open"), true);
}

void Transport::playOrSeekTrack(int track) {
    state_.MciCommand = (state_.Playing ? QStringLiteral("play cd from ") : QStringLiteral("seek cd to ")) +
                        QString::number(track);
    mci_.SendMCIString(state_.MciCommand, true);
}

void Transport::NextTrack() {
    if (state_.CurrentTrack < state_.NumTracks) playOrSeekTrack(state_.CurrentTrack + 1);
    UpdateDisplay_();
}

void Transport::PreviousTrack() {
    int track = state_.CurrentTrack;
    if (state_.CurrentMinute == 0 && state_.CurrentSecond < 6) {
        // Within the first seconds of a track: go to the one before, if any.
        if (state_.CurrentTrack <= 1) return;
        track = state_.CurrentTrack - 1;
    }
    playOrSeekTrack(track);
}

void Transport::jump(int direction) {
    mci_.SendMCIString(QStringLiteral("set cd time format milliseconds"), true);
    const QString reply = mci_.plainSend(QStringLiteral("status cd position wait"), kPositionBuffer);
    // Without a position there is nothing to jump from; the format still goes back to tmsf.
    if (state_.Playing && !reply.isEmpty()) {
        const auto position = static_cast<std::int32_t>(numericValue(reply));
        const std::int64_t target =
            static_cast<std::int64_t>(position) + direction * static_cast<std::int64_t>(state_.SeekStep) * 1000;
        state_.MciCommand = QStringLiteral("play cd from ") + QString::number(target);
        mci_.plainSend(state_.MciCommand, 0);
    }
    mci_.SendMCIString(QStringLiteral("set cd time format tmsf"), true);
    UpdateDisplay_();
}

void Transport::FastForward() { jump(+1); }
void Transport::Rewind() { jump(-1); }

}  // namespace velmora
