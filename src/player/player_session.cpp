#include "player/player_session.h"

#include "player/mci_channel.h"

#include <QTimer>

namespace velmora {

namespace {
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
           a.CurrentSecond == b.CurrentSecond && a.CurrentFrame == b.CurrentFrame && a.barWidthTwips == b.barWidthTwips;
}
}  // namespace

PlayerSession::PlayerSession(MciChannel& mci, QObject* parent)
    : QObject(parent), mci_(mci), tmrUpdate_(new QTimer(this)) {
    tmrUpdate_->setObjectName(QStringLiteral("tmrUpdate"));
    tmrUpdate_->setInterval(1000);
}

PlayerSession::~PlayerSession() = default;

PlayerSession::Changes::Changes(PlayerSession& session) : session_(session) { ++session_.open_; }

PlayerSession::Changes::~Changes() {
    if (--session_.open_ == 0) session_.publish();
}

void PlayerSession::setSeekStep(int seconds) { state_.SeekStep = seconds; }

void PlayerSession::setPlaying(bool playing) {
    Changes changes(*this);
    state_.Playing = playing;
    if (playing) state_.Paused = false;
}

void PlayerSession::showNoDisc() {
    Changes changes(*this);
    // The readout, the bar and the track count keep their last values.
    state_.discKind = DiscKind::None;
    state_.enables = TransportEnables::none();
    disc_.ID.clear();
    disc_.Title.clear();
    disc_.Artist.clear();
    disc_.NumberOfTracks = 0;
    disc_.Extra.clear();
    disc_.Revision = 1;
}

void PlayerSession::showDataDisc() {
    Changes changes(*this);
    state_.discKind = DiscKind::Data;
    state_.enables = TransportEnables::none();
    disc_.ID.clear();
}

void PlayerSession::showAudioDisc() {
    Changes changes(*this);
    state_.discKind = DiscKind::Audio;
}

void PlayerSession::setTrackTable(int count, const QStringList& lengths) {
    Changes changes(*this);
    state_.NumTracks = static_cast<std::int16_t>(count);
    if (!lengths.isEmpty()) state_.TrackLengths = lengths;
}

void PlayerSession::setPosition(int track, int minute, int second, int frame) {
    Changes changes(*this);
    state_.CurrentTrack = static_cast<std::int16_t>(track);
    state_.CurrentMinute = static_cast<std::int16_t>(minute);
    state_.CurrentSecond = static_cast<std::int16_t>(second);
    state_.CurrentFrame = static_cast<std::int16_t>(frame);
}

void PlayerSession::setBar(int progressWidth) {
    Changes changes(*this);
    state_.ProgressWidth = static_cast<std::int16_t>(progressWidth);
    state_.barWidthTwips = progressWidth;
}

void PlayerSession::setMode(bool playing, bool paused) {
    Changes changes(*this);
    state_.Playing = playing;
    state_.Paused = paused;
    state_.enables = TransportEnables::forPlaying(playing);
}

void PlayerSession::loadDisc(const DiscRecord& loaded) {
    Changes changes(*this);
    // What a load sets; the track count and Extra stay as they were.
    disc_.ID = loaded.ID;
    disc_.Title = loaded.Title;
    disc_.Artist = loaded.Artist;
    disc_.Revision = loaded.Revision;
    disc_.Track = loaded.Track;
}

void PlayerSession::takeEditedDisc(const QString& discId, const DiscRecord& edited) {
    if (disc_.ID != discId) return;
    Changes changes(*this);
    disc_ = edited;
    disc_.ID = discId;
}

void PlayerSession::takeLookedUpDisc(const QString& discId, const DiscRecord& found) {
    if (disc_.ID != discId) return;
    DiscRecord loaded = found;
    loaded.ID = discId;
    loadDisc(loaded);
}

void PlayerSession::followBar(int seekSeconds, int barWidthTwips) {
    Changes changes(*this);
    state_.SeekSeconds = static_cast<std::int16_t>(seekSeconds);
    state_.barWidthTwips = barWidthTwips;
}

void PlayerSession::setModes(const PlayModes& modes) {
    Changes changes(*this);
    modes_ = modes;
}

void PlayerSession::setTimeDisplay(TimeDisplay shown) {
    Changes changes(*this);
    timeDisplay_ = shown;
}

CommandResult PlayerSession::failure(int code) const {
    return {CommandResult::Outcome::Failed, code, mci_.errorText(code)};
}

void PlayerSession::reportProblem(const QString& text) {
    if (text == lastProblem_) return;
    lastProblem_ = text;
    if (!text.isEmpty()) emit problem(text);
}

void PlayerSession::playbackFailed(const QString& text) {
    if (!text.isEmpty()) emit problem(text);
}

void PlayerSession::publish() {
    const bool status = !sameStatus(state_, shownState_);
    const bool position = !samePosition(state_, shownState_);
    const bool disc = !sameDisc(disc_, shownDisc_);
    const bool modes = modes_ != shownModes_ || timeDisplay_ != shownTimeDisplay_;
    shownState_ = state_;
    if (disc) shownDisc_ = disc_;
    shownModes_ = modes_;
    shownTimeDisplay_ = timeDisplay_;
    if (disc) emit discChanged();
    if (status) emit stateChanged();
    if (position) emit positionChanged();
    if (modes) emit modesChanged();
}

}  // namespace velmora
