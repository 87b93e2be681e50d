#include "player/position_bar.h"

#include "player/player_session.h"
#include "player/transport.h"
#include "shared/reply_parse.h"
#include "shared/units.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace velmora {

PositionBar::PositionBar(PlayerSession& session, Transport& transport) : session_(session), transport_(transport) {}

int PositionBar::trackLengthSeconds() const {
    const PlayerState& s = session_.state();
    const QString length = s.trackLength(s.CurrentTrack);
    return length.isEmpty() ? 0 : lengthInSeconds(length);
}

void PositionBar::follow(double X, int lengthSeconds) {
    const double x = std::clamp(X, 1.0, static_cast<double>(kBarTwips));
    session_.followBar(static_cast<int>(std::floor(lengthSeconds * (x / kBarTwips))), static_cast<int>(x));
}

void PositionBar::picStatus_MouseDown(int Button, double X) {
    session_.tmrUpdate()->stop();
    const int length = trackLengthSeconds();
    // Without a known track length there is nothing to seek within.
    if (length > 0 && session_.state().Playing && Button == 1) follow(X, length);
}

void PositionBar::picStatus_MouseMove(int Button, double X) {
    if (!session_.state().Playing) return;
    const int length = trackLengthSeconds();
    if (length > 0 && Button == 1) follow(X, length);
}

void PositionBar::picStatus_MouseUp(int /*Button*/, double /*X*/) {
    transport_.PlayFromSecondOfTrack(session_.state().SeekSeconds);
    session_.tmrUpdate()->start();
}

}  // namespace velmora
