#pragma once

#include "player/player_session.h"

namespace velmora {

class DisplayRefresh;

// The transport commands of the buttons, the pop-up menu, the keys and the desktop bus.
// They work from the state the last refresh read, and most of them refresh at once. Each
// tells how it went: a command the drive refused has also been reported in a message box,
// as every transport failure is.
class Transport {
public:
    Transport(PlayerSession& session, DisplayRefresh& refresh);

    CommandResult Play();
    CommandResult Pause();
    CommandResult Stop();
    CommandResult Eject();
    CommandResult NextTrack();
    CommandResult PreviousTrack();
    CommandResult FastForward();
    CommandResult Rewind();
    // Plays track `track` when playing, else moves the head to its start (the track
    // picker's pick).
    CommandResult GoToTrack(int track);
    // Plays from `seconds` into the current track (the position bar's release).
    CommandResult PlayFromSecondOfTrack(int seconds);
    // Plays from `frames` into the current track, to the frame (the desktop bus's seek);
    // like the position bar, only while playing.
    CommandResult PlayFromFrameOfTrack(int frames);

private:
    template <typename Work>
    CommandResult run(Work&& work);
    bool send(const QString& command);
    void jump(int direction);
    void playOrSeekTrack(int track);

    PlayerSession& session_;
    DisplayRefresh& refresh_;
    CommandResult result_;  // of the command under way
};

}  // namespace velmora
