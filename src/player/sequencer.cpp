#include "player/sequencer.h"

#include "player/mci_channel.h"
#include "player/player_session.h"
#include "shared/units.h"

#include <QRandomGenerator>

#include <utility>

namespace velmora {

namespace {
constexpr int kIntroFrames = 10 * kFramesPerSecond;
}  // namespace

Sequencer::Sequencer(PlayerSession& session, PlayOrder::Random random)
    : session_(session),
      random_(random ? std::move(random) : [] { return QRandomGenerator::global()->generateDouble(); }) {}

const PlayModes& Sequencer::modes() const { return session_.modes(); }

void Sequencer::knowDisc() {
    const PlayerState& s = session_.state();
    const QString disc = session_.disc().ID + QLatin1Char('/') + QString::number(s.NumTracks);
    if (disc != knownDisc_) {
        knownDisc_ = disc;
        std::vector<int> audio;
        MciChannel& mci = session_.channel();
        const QString query = QStringLiteral("status cd type track ");
        for (int n = 1; n <= s.NumTracks; ++n) {
            if (mci.plainSend(query + QString::number(n), kReplyBuffer).left(5) == QLatin1String("audio"))
                audio.push_back(n);
        }
        order_.setTracks(std::move(audio));
    }
    // A shuffled order starts afresh at the next Play.
    if (modes().shuffle && !order_.shuffled()) order_.shuffle(random_);
    if (!modes().shuffle && order_.shuffled()) order_.unshuffle(s.CurrentTrack);
}

PlayEnd Sequencer::endOf(int track) const {
    if (!modes().trackByTrack()) return PlayEnd::endOfDisc();
    const PlayerState& s = session_.state();
    const int length = trackFrames(s, track);
    if (modes().introScan && length > kIntroFrames) return PlayEnd::atPoint({track, kIntroFrames});
    if (track < s.NumTracks) return PlayEnd::atPoint({track + 1, 0});
    // The last track ends where its reported length says, which is where the disc's audio ends.
    return length > 0 ? PlayEnd::atPoint({track, length}) : PlayEnd::endOfDisc();
}

int Sequencer::restart() {
    if (modes().shuffle) order_.shuffle(random_);
    return order_.first();
}

Sequencer::Start Sequencer::playStart() {
    knowDisc();
    const PlayerState& s = session_.state();
    Start start;
    if (modes().shuffle) {
        start.track = order_.current();
        start.resume = start.track != 0 && start.track == s.CurrentTrack;
        if (start.track == 0) start.track = restart();
    } else {
        // Disc order follows the head; a head on a data track goes on with the next audio track.
        order_.pick(s.CurrentTrack);
        start.resume = order_.contains(s.CurrentTrack);
        start.track = start.resume ? s.CurrentTrack : order_.step(+1);
        if (start.track == 0) start.track = order_.first();
    }
    // An intro whose ten seconds are over goes on with the next track's.
    if (modes().introScan && start.resume) {
        const TrackPoint here{s.CurrentTrack, (s.CurrentMinute * 60 + s.CurrentSecond) * kFramesPerSecond};
        if (EndWatch::reached(s, here, endOf(start.track))) {
            start.resume = false;
            start.track = order_.step(+1);
            if (start.track == 0) start.track = restart();
        }
    }
    return start;
}

int Sequencer::next() {
    knowDisc();
    if (!order_.shuffled()) order_.pick(session_.state().CurrentTrack);
    const int track = order_.step(+1);
    return track != 0 || modes().repeat != Repeat::Disc ? track : restart();
}

int Sequencer::previous() {
    knowDisc();
    if (!order_.shuffled()) order_.pick(session_.state().CurrentTrack);
    return order_.step(-1);
}

void Sequencer::pick(int track) {
    knowDisc();
    order_.pick(track);
}

int Sequencer::after(int track, const PlayEnd& end) {
    // A play to the disc's end has played the whole disc.
    if (end.discEnd) return modes().repeat == Repeat::Disc ? (knowDisc(), restart()) : 0;
    if (modes().repeat == Repeat::Track) return track;
    knowDisc();
    if (!order_.shuffled()) order_.pick(track);
    int following = order_.step(+1);
    if (following == 0 && modes().repeat == Repeat::Disc) following = restart();
    if (following == 0) order_.clearCurrent();
    return following;
}

void Sequencer::modesChanged(const PlayModes& before, int playing) {
    if (modes().shuffle == before.shuffle || session_.state().discKind != DiscKind::Audio) return;
    knowDisc();
    if (modes().shuffle && playing != 0) order_.shuffle(random_, playing);
}

}  // namespace velmora
