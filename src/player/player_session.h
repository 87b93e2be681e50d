#pragma once

#include "player/player_state.h"
#include "shared/disc_record.h"

#include <QObject>
#include <QString>

#include <deque>
#include <functional>

class QTimer;

namespace velmora {

class MciChannel;

// How a command ended: done, refused by the drive (with its code and text), or put off
// until the step under way has finished.
struct CommandResult {
    enum class Outcome { Done, Failed, Deferred };
    Outcome outcome = Outcome::Done;
    int code = 0;
    QString error;

    bool ok() const { return outcome == Outcome::Done; }
};

// The player core that every window and the desktop bus share: the disc record and the
// player's reading of the drive, the command channel, and the display timer. It emits a
// change signal whenever what it holds has changed.
//
// Work on the drive runs in steps, one at a time. A step that arrives while another is
// under way (from a message box's event loop, or from the events the refresh lets run)
// waits for it to finish, so a sequence that switches the time format is never
// interleaved with anything else and a refresh never runs inside another. The change
// signals go out once, when a step ends.
class PlayerSession : public QObject {
    Q_OBJECT
public:
    explicit PlayerSession(MciChannel& mci, QObject* parent = nullptr);
    ~PlayerSession() override;

    const PlayerState& state() const { return state_; }
    const DiscRecord& disc() const { return disc_; }
    MciChannel& channel() { return mci_; }

    // `tmrUpdate`: the display refresh's timer (1000 ms; 3000 ms after Stop).
    QTimer* tmrUpdate() const { return tmrUpdate_; }

    // Runs `work` as a step: now, or after the step under way. True when it ran now.
    bool runStep(const std::function<void()>& work);
    bool inStep() const { return depth_ > 0; }

    // The state and the disc record, for the units that act on the drive within a step.
    PlayerState& mutableState() { return state_; }
    DiscRecord& mutableDisc() { return disc_; }

    // Replaces the disc record (the editor's save) and announces it.
    void setDisc(const DiscRecord& disc);

    // The text of a failed command with the code it failed with, for results.
    CommandResult failure(int code) const;

    // Labels the disc as it is shown: a status text in place of the artist ("No Disc
    // Loaded", "Data CD Loaded") clears the ID, so the next audio disc is identified anew.
    void ShowDiscInfo();

    // A problem the user should hear of that no command reports (the disc database
    // cannot be used); each distinct problem is told once.
    void reportProblem(const QString& text);

signals:
    void stateChanged();     // playing, the kind of disc, track count, enables
    void positionChanged();  // track, minute, second, the bar
    void discChanged();      // the disc record
    void problem(const QString& text);

private:
    void publish();

    MciChannel& mci_;
    QTimer* tmrUpdate_;
    PlayerState state_;
    DiscRecord disc_;
    int depth_ = 0;
    std::deque<std::function<void()>> waiting_;

    // What was last announced.
    PlayerState shownState_;
    DiscRecord shownDisc_;
    QString lastProblem_;
};

}  // namespace velmora
