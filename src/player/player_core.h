#pragma once

#include "player/disc_identity.h"
#include "player/display_refresh.h"
#include "player/player_session.h"
#include "player/position_bar.h"
#include "player/track_picker.h"
#include "player/transport.h"

namespace velmora {

class DiscDatabase;
class MciChannel;

// The player as one piece: the session and the units that act on it. The application
// owns one and hands it to every window and to the desktop bus.
struct PlayerCore {
    PlayerCore(MciChannel& mci, DiscDatabase& database)
        : session(mci),
          identity(session, database),
          refresh(session, identity),
          transport(session, refresh),
          positionBar(session, transport),
          picker(session, transport) {}

    PlayerSession session;
    DiscIdentity identity;
    DisplayRefresh refresh;
    Transport transport;
    PositionBar positionBar;
    TrackPicker picker;
};

}  // namespace velmora
