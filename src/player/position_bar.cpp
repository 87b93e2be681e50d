#include "player/position_bar.h"

#include "chrome/status_bar.h"
#include "player/mci_channel.h"
#include "shared/player_state.h"
#include "shared/reply_parse.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {
constexpr int kBarTwips = 1670;
constexpr int kPositionBuffer = 40;
}  // namespace

PositionBar::PositionBar(PlayerState& state, MciChannel& mci, QTimer* tmrUpdate,
                         StatusBarShape* StatusBar, std::function<void()> UpdateDisplay)
    : state_(state), mci_(mci), tmrUpdate_(tmrUpdate), StatusBar_(StatusBar),
      UpdateDisplay_(std::move(UpdateDisplay)) {}

int PositionBar::trackLengthSeconds() const {
    const QString length = state_.trackLength(state_.CurrentTrack);
    return length.isEmpty() ? 0 : lengthInSeconds(length);
}

void PositionBar::follow(double X, int lengthSeconds) {
    const double x = std::clamp(X, 1.0, static_cast<double>(kBarTwips));
    state_.SeekSeconds = static_cast<std::int16_t>(std::floor(lengthSeconds * (x / kBarTwips)));
    if (StatusBar_) StatusBar_->setWidthTwips(static_cast<int>(x));
}

void PositionBar::picStatus_MouseDown(int Button, double X) {
    // The refresh must not move the bar while the user holds it.
    if (tmrUpdate_) tmrUpdate_->stop();
    const int length = trackLengthSeconds();
    // Without a known track length there is nothing to seek within.
    if (length > 0 && state_.Playing && Button == 1) follow(X, length);
}

void PositionBar::picStatus_MouseMove(int Button, double X) {
    if (!state_.Playing) return;
    const int length = trackLengthSeconds();
    if (length > 0 && Button == 1) follow(X, length);
}

void PositionBar::picStatus_MouseUp(int /*Button*/, double /*X*/) {
    if (state_.Playing) {
        mci_.SendMCIString(QStringLiteral("set cd time format milliseconds"), true);
        const QString reply = mci_.plainSend(
            QStringLiteral("status cd position track ") + QString::number(state_.CurrentTrack),
            kPositionBuffer);
        const auto trackStart = static_cast<std::int32_t>(numericValue(reply));
        const std::int64_t target =
            (static_cast<std::int64_t>(trackStart / 1000) + state_.SeekSeconds) * 1000;
        mci_.plainSend(QStringLiteral("play cd from ") + QString::number(target), 0);
        mci_.SendMCIString(QStringLiteral("set cd time format tmsf"), true);
        UpdateDisplay_();
    }
    if (tmrUpdate_) tmrUpdate_->start();
}

}  // namespace velmora
