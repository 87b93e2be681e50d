#include "player/play_order.h"

#include <algorithm>
#include <utility>

namespace velmora {

void PlayOrder::setTracks(std::vector<int> audioTracks) {
    tracks_ = std::move(audioTracks);
    at_ = -1;
    shuffled_ = false;
}

bool PlayOrder::contains(int track) const { return std::find(tracks_.begin(), tracks_.end(), track) != tracks_.end(); }

void PlayOrder::shuffle(const Random& random, int first) {
    std::sort(tracks_.begin(), tracks_.end());
    for (std::size_t i = tracks_.size(); i > 1; --i) {
        const double r = random ? std::clamp(random(), 0.0, 1.0) : 0.0;
        const auto j = std::min(static_cast<std::size_t>(r * static_cast<double>(i)), i - 1);
        std::swap(tracks_[i - 1], tracks_[j]);
    }
    shuffled_ = true;
    at_ = -1;
    const auto lead = std::find(tracks_.begin(), tracks_.end(), first);
    if (lead == tracks_.end()) return;
    std::rotate(tracks_.begin(), lead, lead + 1);
    at_ = 0;
}

void PlayOrder::unshuffle(int current) {
    std::sort(tracks_.begin(), tracks_.end());
    shuffled_ = false;
    at_ = -1;
    if (contains(current)) pick(current);
}

int PlayOrder::current() const {
    return at_ >= 0 && at_ < static_cast<int>(tracks_.size()) ? tracks_[static_cast<std::size_t>(at_)] : 0;
}

int PlayOrder::first() {
    at_ = tracks_.empty() ? -1 : 0;
    return current();
}

int PlayOrder::step(int direction) {
    const int to = at_ + direction;
    if (to < 0 || to >= static_cast<int>(tracks_.size())) return 0;
    at_ = to;
    return current();
}

void PlayOrder::pick(int track) {
    const auto it = std::find(tracks_.begin(), tracks_.end(), track);
    if (!shuffled_) {
        if (it != tracks_.end()) {
            at_ = static_cast<int>(it - tracks_.begin());
            return;
        }
        at_ = static_cast<int>(std::count_if(tracks_.begin(), tracks_.end(), [track](int t) { return t < track; })) - 1;
        return;
    }
    if (it == tracks_.end()) return;
    const int from = static_cast<int>(it - tracks_.begin());
    tracks_.erase(it);
    if (from <= at_) --at_;
    ++at_;
    tracks_.insert(tracks_.begin() + at_, track);
}

}  // namespace velmora
