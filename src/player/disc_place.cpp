#include "player/disc_place.h"

#include "player/player_state.h"
#include "shared/reply_parse.h"
#include "shared/units.h"

namespace velmora {

namespace {
constexpr int kFramesPerMinute = 60 * kFramesPerSecond;

int msfFrames(const QString& text, int minutesAt) {
    return static_cast<int>(wholeNumberAt(text, minutesAt, minutesAt + 1)) * kFramesPerMinute +
           static_cast<int>(wholeNumberAt(text, minutesAt + 3, minutesAt + 4)) * kFramesPerSecond +
           static_cast<int>(wholeNumberAt(text, minutesAt + 6, minutesAt + 7));
}
}  // namespace

QString PlayEnd::tmsf() const {
    if (at.frame == 0) return QString::number(at.track);
    return QStringLiteral("%1:%2:%3:%4")
        .arg(at.track)
        .arg(at.frame / kFramesPerMinute)
        .arg(at.frame / kFramesPerSecond % 60)
        .arg(at.frame % kFramesPerSecond);
}

TrackPoint tmsfPoint(const QString& reply) {
    if (reply.size() < 11) return {};
    return {static_cast<int>(wholeNumberAt(reply, 1, 2)), msfFrames(reply, 4)};
}

int trackFrames(const PlayerState& state, int track) {
    const QString length = state.trackLength(track);
    return length.isEmpty() ? 0 : msfFrames(length, 1);
}

}  // namespace velmora
