#pragma once

#include "player/disc_place.h"

#include <QObject>

class QTimer;

namespace velmora {

class PlayerSession;
struct PlayerState;

// Learns soon after it happens that a play has stopped at its end, so that the player
// can go on at once: a timer armed from where the play stands fires a little before the
// end, asks the drive where it is, and from close to the end asks again every few
// milliseconds until the drive has stopped there. The refresh's own reading counts as
// well, so an end is noticed also when the timer comes late. Until the timer fires
// nothing is sent to the drive.
class EndWatch : public QObject {
    Q_OBJECT
public:
    explicit EndWatch(PlayerSession& session, QObject* parent = nullptr);

    // A play under way from `from` that stops by itself at `end`.
    void watch(TrackPoint from, const PlayEnd& end);
    // The play was paused, stopped or replaced by a seek: nothing to wait for.
    void forget();
    bool watching() const { return watching_; }
    const PlayEnd& end() const { return end_; }
    QTimer* timer() const { return timer_; }

    // Whether the drive, stopped at `position`, has played to `end`. A second of slack
    // covers readings to the second and the frame a play to the disc's end leaves out.
    static bool reached(const PlayerState& state, TrackPoint position, const PlayEnd& end);

    // The timer's work: asks the drive whether it still plays and where it is.
    void check();
    // The refresh has just read the drive (a stopped drive at the end counts).
    void refreshed();

signals:
    // The play has stopped at its end; the watch has let it go.
    void ended();

private:
    void schedule(int remainingFrames, int leadMs);
    void finish();

    PlayerSession& session_;
    QTimer* timer_;
    bool watching_ = false;
    PlayEnd end_;
};

}  // namespace velmora
