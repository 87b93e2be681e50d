#pragma once

#include "player/end_watch.h"
#include "player/play_modes.h"
#include "player/player_session.h"

namespace velmora {

class DisplayRefresh;
class Sequencer;

// The transport commands of the buttons, the pop-up menu, the keys and the desktop bus.
// They work from the state the last refresh read, and most of them refresh at once. Each
// tells how it went: a command the drive refused has also been reported in a message box,
// as every transport failure is.
//
// Every play it starts is watched to its end. With the play modes off it sends what it
// always sent, and a disc that has played to its end stops with the head at the start of
// track 1. Under the modes each play gets the end the modes give it ("play cd from 3 to
// 4"), and the track that follows is chosen when the drive stops there.
class Transport {
public:
    Transport(PlayerSession& session, DisplayRefresh& refresh, Sequencer& sequencer, EndWatch& watch);

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

    // New play modes. A play under way takes the end they give it at once (an intro whose
    // ten seconds are over goes on with the next); one that already stops at its track's
    // end keeps that end, and the disc plays on from there.
    CommandResult SetPlayModes(const PlayModes& modes);
    // The watched play has stopped at its end: the modes' next track plays, or the disc
    // is done and the head goes back to the start of track 1.
    CommandResult PlayEnded();

private:
    template <typename Work>
    CommandResult run(Work&& work);
    bool send(const QString& command);
    void jump(int direction);
    void playOrSeekTrack(int track);
    bool playTrack(int track);
    void goOnAfter(const PlayEnd& ended);
    // A play of `track` under way from `from`: watched to the end the modes give it.
    void follow(int track, TrackPoint from, const PlayEnd& end);
    // Where the refresh last saw the head.
    TrackPoint here() const;
    // The end of the play under way, and that end as the "to" of a play in milliseconds
    // (asked of the drive; empty for the disc's end).
    PlayEnd currentEnd() const;
    QString toInMilliseconds(const PlayEnd& end);
    // After a jump within the play: watched again from where it now stands.
    void followAgain(const PlayEnd& end);

    PlayerSession& session_;
    DisplayRefresh& refresh_;
    Sequencer& sequencer_;
    EndWatch& watch_;
    CommandResult result_;  // of the command under way
    int stretchTrack_ = 0;  // the track whose play is watched
};

}  // namespace velmora
