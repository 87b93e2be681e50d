#pragma once

#include "player/main_controls.h"

#include <QString>

#include <functional>

namespace velmora {

class MciChannel;
struct PlayerState;

// The once-a-second refresh: reads the drive back and rewrites the face of the main
// window from the answers (disc presence, titles, LED readout, position bar, which
// transport controls are enabled).
class DisplayRefresh {
public:
    // identifyDisc computes the disc ID and loads the disc's record (it calls
    // ShowDiscInfo itself when it has loaded one). letEventsRun lets pending window
    // events run, so a click can be handled in the middle of a refresh.
    DisplayRefresh(PlayerState& state, MciChannel& mci, const MainControls& controls,
                   std::function<void()> identifyDisc, std::function<void()> letEventsRun);

    void tmrUpdate_Timer();
    void UpdateDisplay();
    void ShowDiscInfo();
    void ShowTrackNumber(const QString& text);
    void ShowTrackTime(const QString& text);

    // Enables or disables all twelve transport controls.
    void setTransportEnabled(bool enabled);

private:
    void enableByPlaying(bool playing);
    void updateLabel(QLabel* label, const QString& value);

    PlayerState& state_;
    MciChannel& mci_;
    MainControls controls_;
    std::function<void()> identifyDisc_;
    std::function<void()> letEventsRun_;
};

}  // namespace velmora
