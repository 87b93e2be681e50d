#pragma once

#include <QStringList>

namespace velmora {

class PlayerSession;
class Transport;

// The track list over the player face: its lines, built afresh each time it opens, and
// the pick of a line.
class TrackPicker {
public:
    TrackPicker(PlayerSession& session, Transport& transport);

    // "Track n - title" for each track of the disc, in order.
    QStringList lines() const;
    // Line k (1-based) double-clicked: that track plays, or the head moves to it while
    // not playing; the window refreshes also for a line beyond the disc's tracks.
    void pick(int line);

private:
    PlayerSession& session_;
    Transport& transport_;
};

}  // namespace velmora
