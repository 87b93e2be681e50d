#pragma once

#include <functional>

class QTimer;

namespace velmora {

class MciChannel;
struct PlayerState;

// The transport commands of the buttons and the pop-up menu. They work from the state
// the last refresh read, and most of them refresh the window at once.
class Transport {
public:
    Transport(PlayerState& state, MciChannel& mci, QTimer* tmrUpdate,
              std::function<void()> UpdateDisplay);

    void Play();
    void Pause();
    void Stop();
    void Eject();
    void NextTrack();
    void PreviousTrack();
    void FastForward();
    void Rewind();

private:
    void jump(int direction);
    void playOrSeekTrack(int track);

    PlayerState& state_;
    MciChannel& mci_;
    QTimer* tmrUpdate_;
    std::function<void()> UpdateDisplay_;
};

}  // namespace velmora
