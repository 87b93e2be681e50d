#pragma once

namespace velmora {

class PlayerSession;
class Transport;

// Seeking within the current track by pressing, dragging and releasing on the position
// bar. X is in twips; 1670 twips of bar are the whole track. While the bar is held the
// refresh is stopped, so it does not move the bar under the mouse.
class PositionBar {
public:
    PositionBar(PlayerSession& session, Transport& transport);

    void picStatus_MouseDown(int Button, double X);
    void picStatus_MouseMove(int Button, double X);
    void picStatus_MouseUp(int Button, double X);

private:
    // The current track's length in seconds; 0 when it is not known.
    int trackLengthSeconds() const;
    void follow(double X, int lengthSeconds);

    PlayerSession& session_;
    Transport& transport_;
};

}  // namespace velmora
