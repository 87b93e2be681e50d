#pragma once

#include "player/disc_identity.h"
#include "player/display_refresh.h"
#include "player/end_watch.h"
#include "player/player_session.h"
#include "player/position_bar.h"
#include "player/sequencer.h"
#include "player/track_picker.h"
#include "player/transport.h"

namespace velmora {

class DiscDatabase;
class MciChannel;

// The player as one piece: the session and the units that act on it. The application
// owns one and hands it to every window and to the desktop bus. `random` draws the
// shuffled orders (0 <= r < 1; empty: the system's generator).
struct PlayerCore {
    PlayerCore(MciChannel& mci, DiscDatabase& database, PlayOrder::Random random = {})
        : session(mci),
          identity(session, database),
          refresh(session, identity),
          watch(session),
          sequencer(session, std::move(random)),
          transport(session, refresh, sequencer, watch),
          positionBar(session, transport),
          picker(session, transport) {
        refresh.setAfterRead([this] { watch.refreshed(); });
        QObject::connect(&watch, &EndWatch::ended, &session, [this] { transport.PlayEnded(); });
    }
    PlayerCore(const PlayerCore&) = delete;
    PlayerCore& operator=(const PlayerCore&) = delete;

    PlayerSession session;
    DiscIdentity identity;
    DisplayRefresh refresh;
    EndWatch watch;
    Sequencer sequencer;
    Transport transport;
    PositionBar positionBar;
    TrackPicker picker;
};

}  // namespace velmora
