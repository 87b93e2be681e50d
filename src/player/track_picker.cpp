#include "player/track_picker.h"

#include "player/player_session.h"
#include "player/transport.h"
#include "shared/units.h"

namespace velmora {

TrackPicker::TrackPicker(PlayerSession& session, Transport& transport) : session_(session), transport_(transport) {}

QStringList TrackPicker::lines() const {
    QStringList out;
    const DiscRecord& disc = session_.disc();
    for (int n = 1; n <= session_.state().NumTracks; ++n) {
        const QString title = n <= kMaxTracks ? disc.track(n) : QString();
        out.append(QStringLiteral("Track ") + QString::number(n) + QStringLiteral(" - ") + title);
    }
    return out;
}

void TrackPicker::pick(int line) { transport_.GoToTrack(line); }

}  // namespace velmora
