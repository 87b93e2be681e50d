#pragma once

#include <functional>
#include <vector>

namespace velmora {

// The order the audio tracks of a disc play in under the play modes: disc order or a
// shuffled one, and which of them is playing. Data tracks are never in it.
class PlayOrder {
public:
    using Random = std::function<double()>;  // 0 <= r < 1

    // The disc's audio tracks in disc order; none of them current.
    void setTracks(std::vector<int> audioTracks);
    const std::vector<int>& tracks() const { return tracks_; }
    bool contains(int track) const;

    // A new random order with `first` (when it is one of the tracks) leading it, current.
    // Without a first, nothing is current until first() or pick().
    void shuffle(const Random& random, int first = 0);
    // Disc order again, `current` current (when it is one of the tracks).
    void unshuffle(int current);
    bool shuffled() const { return shuffled_; }

    // The current track; 0 when none is.
    int current() const;
    // Makes the first track of the order current and returns it (0 for an empty order).
    int first();
    // Moves one place on (+1) or back (-1) and returns the track there; 0, and no move,
    // past either end.
    int step(int direction);
    // Makes `track` current. In disc order it is only moved to (a track that is not in
    // the order: the last audio track before it, so that a step goes on after it). In a
    // shuffled order the tracks played so far stay where they are and `track` is taken
    // from its place and played next, so every track still plays once.
    void pick(int track);
    // None is current: the order has been played through or given up.
    void clearCurrent() { at_ = -1; }

private:
    std::vector<int> tracks_;
    int at_ = -1;
    bool shuffled_ = false;
};

}  // namespace velmora
