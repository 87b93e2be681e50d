#pragma once

#include <functional>

class QListWidget;

namespace velmora {

class MciChannel;
struct PlayerState;

// The track list over the player face: opened and closed by its picture button, a
// double-click on a line plays that track (or moves the head to it while not playing).
class TrackPicker {
public:
    TrackPicker(PlayerState& state, MciChannel& mci, QListWidget* TrackList,
                std::function<void()> UpdateDisplay);

    void picTrack_Click();
    void TrackList_DblClick();

private:
    PlayerState& state_;
    MciChannel& mci_;
    QListWidget* TrackList_;
    std::function<void()> UpdateDisplay_;
};

}  // namespace velmora
