#pragma once

#include "player/play_modes.h"
#include "player/player_state.h"
#include "shared/disc_record.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QTimer;

namespace velmora {

class MciChannel;

// How a command ended: done, or refused by the drive (with its code and text).
struct CommandResult {
    enum class Outcome { Done, Failed };
    Outcome outcome = Outcome::Done;
    int code = 0;
    QString error;

    bool ok() const { return outcome == Outcome::Done; }
};

// The player core that every window and the desktop bus share: the record of the disc in
// the drive and the player's reading of the drive, the command channel, and the display
// timer. Only the units of the player change what it holds, each through the operation
// that says what happened; every change is announced by the change signals, once for a
// group of changes that belong together.
class PlayerSession : public QObject {
    Q_OBJECT
public:
    explicit PlayerSession(MciChannel& mci, QObject* parent = nullptr);
    ~PlayerSession() override;

    const PlayerState& state() const { return state_; }
    const DiscRecord& disc() const { return disc_; }
    const PlayModes& modes() const { return modes_; }
    TimeDisplay timeDisplay() const { return timeDisplay_; }
    MciChannel& channel() { return mci_; }

    // `tmrUpdate`: the display refresh's timer (1000 ms; 3000 ms after Stop).
    QTimer* tmrUpdate() const { return tmrUpdate_; }

    // Changes made while one of these lives are announced together when the outermost
    // one ends, so a listener never sees half of a command or a refresh.
    class Changes {
    public:
        explicit Changes(PlayerSession& session);
        ~Changes();
        Changes(const Changes&) = delete;
        Changes& operator=(const Changes&) = delete;

    private:
        PlayerSession& session_;
    };

    // The transport.
    void setSeekStep(int seconds);
    void setPlaying(bool playing);  // a command the drive took; the next refresh reads the mode

    // The refresh.
    void showNoDisc();    // the drive is empty: no transport, the record reset
    void showDataDisc();  // a data disc: no transport, no ID, so an audio disc is identified anew
    void showAudioDisc();
    void setTrackTable(int count, const QStringList& lengths);  // lengths empty: the last ones stay
    void setPosition(int track, int minute, int second, int frame = 0);
    void setBar(int progressWidth);  // the refresh's bar width in twips
    void setMode(bool playing, bool paused);

    // The identity: the record of a disc just identified (its ID, titles and revision).
    void loadDisc(const DiscRecord& loaded);

    // The track list editor: the record it loaded or saved for the disc `discId`. Taken
    // only while that disc is the one the player knows; a swapped disc keeps its own.
    void takeEditedDisc(const QString& discId, const DiscRecord& edited);

    // A lookup's titles for the disc `discId`, already stored in its section. Taken only
    // while that disc is the one the player knows, as a load takes a record.
    void takeLookedUpDisc(const QString& discId, const DiscRecord& found);

    // The position bar while it is held: the second it points at, and where it is drawn.
    void followBar(int seekSeconds, int barWidthTwips);

    // The play modes (the transport changes them, as they change what it sends) and what
    // the readout's time counts.
    void setModes(const PlayModes& modes);
    void setTimeDisplay(TimeDisplay shown);

    // The text of a failed command with the code it failed with, for results.
    CommandResult failure(int code) const;

    // A problem the user should hear of that no command reports (the disc database
    // cannot be used); each distinct problem is told once.
    void reportProblem(const QString& text);
    // Playback stopped by itself because the sound output or the disc failed: told each
    // time it happens, in the failure's own words.
    void playbackFailed(const QString& text);

signals:
    void stateChanged();     // playing, the kind of disc, track count, enables
    void positionChanged();  // track, minute, second, the bar
    void discChanged();      // the disc record
    void modesChanged();     // the play modes, the readout's time display
    void problem(const QString& text);

private:
    void publish();

    MciChannel& mci_;
    QTimer* tmrUpdate_;
    PlayerState state_;
    DiscRecord disc_;
    PlayModes modes_;
    TimeDisplay timeDisplay_ = TimeDisplay::Elapsed;
    int open_ = 0;  // Changes alive

    // What was last announced.
    PlayerState shownState_;
    DiscRecord shownDisc_;
    PlayModes shownModes_;
    TimeDisplay shownTimeDisplay_ = TimeDisplay::Elapsed;
    QString lastProblem_;
};

}  // namespace velmora
