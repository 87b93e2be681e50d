#pragma once

#include "player/end_watch.h"
#include "player/play_modes.h"
#include "player/play_order.h"

#include <QString>

namespace velmora {

class PlayerSession;

// What plays next under the play modes, and where each play must stop so that the player
// can choose what follows. It keeps the order of the disc's audio tracks, learning which
// tracks hold audio from the drive once per disc, and only once a mode asks for it.
class Sequencer {
public:
    // `random` empty: the system's generator.
    Sequencer(PlayerSession& session, PlayOrder::Random random);

    // Where a play of `track` stops by itself under the modes: the start of the next
    // track, or ten seconds in for an intro; with none of the track-by-track modes on,
    // the end of the disc.
    PlayEnd endOf(int track) const;

    // What Play plays: the track, and whether the head already stands in it so that the
    // play goes on from there.
    struct Start {
        int track = 0;
        bool resume = false;
    };
    Start playStart();
    // Next and the track before (Previous within a track's first seconds): 0 when the
    // order has none; Next starts the disc over when the whole disc repeats.
    int next();
    int previous();
    // A track picked from the list plays now and the order goes on after it.
    void pick(int track);
    // The play of `track` has ended at `end`: what plays now; 0 when the disc is done.
    int after(int track, const PlayEnd& end);
    // The modes changed from `before`: shuffle on makes a new order with `playing` first
    // (0 while stopped: the order starts at the next Play); off goes back to disc order.
    void modesChanged(const PlayModes& before, int playing);

    const PlayOrder& order() const { return order_; }

private:
    const PlayModes& modes() const;
    // The disc's audio tracks in the order, asked of the drive when the disc is new to it.
    void knowDisc();
    int restart();

    PlayerSession& session_;
    PlayOrder::Random random_;
    PlayOrder order_;
    QString knownDisc_;  // the disc the order is of: its ID and track count
};

}  // namespace velmora
