#pragma once

#include <functional>

namespace velmora {

class DiscIdentity;
class PlayerSession;

// The once-a-second refresh: reads the drive back (disc presence, kind, track lengths,
// position, mode) into the session, identifies a newly seen disc, and decides which
// transport commands are of use. The views follow the session's change signals.
class DisplayRefresh {
public:
    DisplayRefresh(PlayerSession& session, DiscIdentity& identity);

    // `tmrUpdate`'s work: a refresh when the gate allows (the main window is shown);
    // otherwise the session only follows the drive, so the desktop bus and the tray menu
    // stay true while the window is put away.
    void tmrUpdate_Timer();
    void setGate(std::function<bool()> gate) { gate_ = std::move(gate); }
    // Told at the end of each refresh that read an audio disc's position and mode.
    void setAfterRead(std::function<void()> afterRead) { afterRead_ = std::move(afterRead); }

    // One refresh, start to end; it takes well under a millisecond, so nothing else runs
    // in the middle of it.
    void UpdateDisplay();

    // The reading of a put-away player: whether the known audio disc is still in, then its
    // position and mode. Without a known audio disc, a whole refresh.
    void FollowDrive();

    // Reads the position (track, time and frame) and the bar it makes.
    void followPosition();

private:
    void followMode();

    PlayerSession& session_;
    DiscIdentity& identity_;
    std::function<bool()> gate_;
    std::function<void()> afterRead_;
};

}  // namespace velmora
