#include "player/player_session.h"

#include "player/mci_channel.h"
#include "shared/reply_parse.h"

#include <QTimer>

namespace velmora {

namespace {
const QString kNoDisc = QStringLiteral("No Disc Loaded");
const QString kDataDisc = QStringLiteral("Data CD Loaded");

QString trimmedRight(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ') --end;
    return text.left(end);
}

bool sameDisc(const DiscRecord& a, const DiscRecord& b) {
    return a.ID == b.ID && a.Revision == b.Revision && a.NumberOfTracks == b.NumberOfTracks && a.Title == b.Title &&
           a.Artist == b.Artist && a.Extra == b.Extra && a.Track == b.Track;
}

bool sameStatus(const PlayerState& a, const PlayerState& b) {
    return a.Playing == b.Playing && a.Paused == b.Paused && a.NumTracks == b.NumTracks && a.discKind == b.discKind &&
           a.enables == b.enables && a.TrackLengths == b.TrackLengths;
}

bool samePosition(const PlayerState& a, const PlayerState& b) {
    return a.CurrentTrack == b.CurrentTrack && a.CurrentMinute == b.CurrentMinute &&
           a.CurrentSecond == b.CurrentSecond && a.barWidthTwips == b.barWidthTwips;
}
}  // namespace

PlayerSession::PlayerSession(MciChannel& mci, QObject* parent)
    : QObject(parent), mci_(mci), tmrUpdate_(new QTimer(this)) {
    tmrUpdate_->setObjectName(QStringLiteral("tmrUpdate"));
    tmrUpdate_->setInterval(1000);
}

PlayerSession::~PlayerSession() = default;

bool PlayerSession::runStep(const std::function<void()>& work) {
    if (depth_ > 0) {
        waiting_.push_back(work);
        return false;
    }
    ++depth_;
    work();
    --depth_;
    publish();
    while (!waiting_.empty() && depth_ == 0) {
        const std::function<void()> next = std::move(waiting_.front());
        waiting_.pop_front();
        ++depth_;
        next();
        --depth_;
        publish();
    }
    return true;
}

void PlayerSession::setDisc(const DiscRecord& disc) {
    runStep([this, disc] { disc_ = disc; });
}

CommandResult PlayerSession::failure(int code) const {
    return {CommandResult::Outcome::Failed, code, mci_.errorText(code)};
}

void PlayerSession::ShowDiscInfo() {
    const QString artist = trimmedRight(disc_.Artist);
    if (artist == kNoDisc || artist == kDataDisc) disc_.ID.clear();
}

void PlayerSession::reportProblem(const QString& text) {
    if (text == lastProblem_) return;
    lastProblem_ = text;
    if (!text.isEmpty()) emit problem(text);
}

void PlayerSession::publish() {
    const bool status = !sameStatus(state_, shownState_);
    const bool position = !samePosition(state_, shownState_);
    const bool disc = !sameDisc(disc_, shownDisc_);
    shownState_ = state_;
    if (disc) shownDisc_ = disc_;
    if (disc) emit discChanged();
    if (status) emit stateChanged();
    if (position) emit positionChanged();
}

}  // namespace velmora
