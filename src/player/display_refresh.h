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

    // `tmrUpdate`'s work: a refresh when the gate allows (the main window is shown).
    void tmrUpdate_Timer();
    void setGate(std::function<bool()> gate) { gate_ = std::move(gate); }

    // One refresh, start to end; it takes well under a millisecond, so nothing else runs
    // in the middle of it.
    void UpdateDisplay();

private:
    PlayerSession& session_;
    DiscIdentity& identity_;
    std::function<bool()> gate_;
};

}  // namespace velmora
