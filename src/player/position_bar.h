#pragma once

#include <cstdint>
#include <functional>

class QTimer;

namespace velmora {

class MciChannel;
class StatusBarShape;
struct PlayerState;

// Seeking within the current track by pressing, dragging and releasing on the position
// bar. X is in twips; 1670 twips of bar are the whole track.
class PositionBar {
public:
    PositionBar(PlayerState& state, MciChannel& mci, QTimer* tmrUpdate, StatusBarShape* StatusBar,
                std::function<void()> UpdateDisplay);

    void picStatus_MouseDown(int Button, double X);
    void picStatus_MouseMove(int Button, double X);
    void picStatus_MouseUp(int Button, double X);

private:
    // The current track's length in seconds; 0 when it is not known.
    int trackLengthSeconds() const;
    void follow(double X, int lengthSeconds);

    PlayerState& state_;
    MciChannel& mci_;
    QTimer* tmrUpdate_;
    StatusBarShape* StatusBar_;
    std::function<void()> UpdateDisplay_;
};

}  // namespace velmora
