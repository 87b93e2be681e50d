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
    // letEventsRun lets pending window events run at three points of a refresh, so the
    // window stays alive; whatever they ask of the drive waits for the refresh to end.
    DisplayRefresh(PlayerSession& session, DiscIdentity& identity, std::function<void()> letEventsRun = {});

    // `tmrUpdate`'s work: a refresh when the gate allows (the main window is shown).
    void tmrUpdate_Timer();
    void setGate(std::function<bool()> gate) { gate_ = std::move(gate); }

    // A refresh as a step of its own (after the step under way, if any; a refresh already
    // waiting is not asked for twice).
    void UpdateDisplay();
    // A refresh within the caller's step.
    void refreshNow();

private:
    PlayerSession& session_;
    DiscIdentity& identity_;
    std::function<void()> letEventsRun_;
    std::function<bool()> gate_;
    bool waiting_ = false;
};

}  // namespace velmora
