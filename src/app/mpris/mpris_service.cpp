#include "app/mpris/mpris_service.h"

#include "app/mpris/mpris_adaptors.h"
#include "mixer/master_volume.h"
#include "player/player_core.h"
#include "shared/reply_parse.h"
#include "shared/units.h"

#include <QDBusMessage>
#include <QDBusObjectPath>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {
constexpr qlonglong kUsPerSecond = 1'000'000;

constexpr int kVolumeTop = 65535;
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

qlonglong framesToUs(qlonglong frames) { return frames * kUsPerSecond / kFramesPerSecond; }

// mm:ss:ff to microseconds.
qlonglong lengthUs(const QString& mmssff) {
    return framesToUs(lengthInSeconds(mmssff) * qlonglong{kFramesPerSecond} + wholeNumberAt(mmssff, 7, 8));
}
}  // namespace

MprisService::MprisService(QDBusConnection bus, PlayerCore& core, MasterVolume& volume, std::function<void()> raise,
                           std::function<void()> quit, QObject* parent)
    : QObject(parent),
      bus_(std::move(bus)),
      core_(core),
      volume_(volume),
      raise_(std::move(raise)),
      quit_(std::move(quit)) {
    if (!bus_.isConnected()) return;
    new MprisRootAdaptor(this, *this);
    new MprisPlayerAdaptor(this, *this);
    registered_ = bus_.registerObject(QString::fromLatin1(kObjectPath), this, QDBusConnection::ExportAdaptors) &&
                  bus_.registerService(QString::fromLatin1(kServiceName));
    if (!registered_) return;
    for (auto signal : {&PlayerSession::stateChanged, &PlayerSession::positionChanged, &PlayerSession::discChanged,
                        &PlayerSession::modesChanged})
        connect(&core_.session, signal, this, &MprisService::announceChanges);
    // The knob's poll, or a reading for the bus, that finds the line changed.
    connect(&volume_, &MasterVolume::changed, this, &MprisService::announceChanges);
    volume_.read();
    announceChanges();
}

MprisService::~MprisService() {
    if (registered_) {
        bus_.unregisterService(QString::fromLatin1(kServiceName));
        bus_.unregisterObject(QString::fromLatin1(kObjectPath));
    }
}

QString MprisService::playbackStatus() const {
    const PlayerState& s = core_.session.state();
    if (s.discKind == DiscKind::Audio && s.Playing) return QStringLiteral("Playing");
    if (s.discKind == DiscKind::Audio && s.Paused) return QStringLiteral("Paused");
    return QStringLiteral("Stopped");
}

QString MprisService::trackId(int track) const {
    return QStringLiteral("/org/mpris/MediaPlayer2/velmora/track/%1").arg(track);
}

qlonglong MprisService::trackLengthUs(int track) const {
    const QString length = core_.session.state().trackLength(track);
    return length.isEmpty() ? 0 : lengthUs(length);
}

QVariantMap MprisService::metadata() const {
    const PlayerState& s = core_.session.state();
    const DiscRecord& disc = core_.session.disc();
    QVariantMap m;
    if (s.discKind != DiscKind::Audio || s.CurrentTrack < 1) {
        m.insert(QStringLiteral("mpris:trackid"),
                 QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"))));
        return m;
    }
    const int track = s.CurrentTrack;
    m.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(trackId(track))));
    if (const qlonglong length = trackLengthUs(track)) m.insert(QStringLiteral("mpris:length"), length);
    QString title = track <= kMaxTracks ? disc.track(track) : QString();
    if (title.isEmpty()) title = QStringLiteral("Track %1").arg(track);
    m.insert(QStringLiteral("xesam:title"), title);
    m.insert(QStringLiteral("xesam:album"), disc.Title);
    m.insert(QStringLiteral("xesam:artist"), QStringList{disc.Artist});
    m.insert(QStringLiteral("xesam:trackNumber"), track);
    if (const QString art = artUrl_ ? artUrl_() : QString(); !art.isEmpty())
        m.insert(QStringLiteral("mpris:artUrl"), art);
    return m;
}

qlonglong MprisService::positionUs() const {
    const PlayerState& s = core_.session.state();
    return framesToUs((static_cast<qlonglong>(s.CurrentMinute) * 60 + s.CurrentSecond) * kFramesPerSecond +
                      s.CurrentFrame);
}

// The media bus reads "can play" as "there is something to play": true while playing too,
// when Play does nothing, as the disabled button does.
bool MprisService::canPlay() const {
    const TransportEnables& e = core_.session.state().enables;
    return e.play || e.pause;
}
bool MprisService::canPause() const { return core_.session.state().enables.pause; }
bool MprisService::canGoNext() const { return core_.session.state().enables.next; }
bool MprisService::canGoPrevious() const { return core_.session.state().enables.previous; }
bool MprisService::canSeek() const { return core_.session.state().enables.jump; }

double MprisService::volumeShown() const {
    return volume_.volume() < 0 ? 0.0 : static_cast<double>(volume_.volume()) / kVolumeTop;
}

double MprisService::volume() {
    volume_.read();
    return volumeShown();
}

void MprisService::setVolume(double volume) {
    if (std::isnan(volume)) return;
    volume_.setVolume(static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * kVolumeTop)));
    volume_.read();  // what the mixer made of it is announced
}

QString MprisService::loopStatus() const {
    switch (core_.session.modes().repeat) {
    case Repeat::Track:
        return QStringLiteral("Track");
    case Repeat::Disc:
        return QStringLiteral("Playlist");
    case Repeat::Off:
        break;
    }
    return QStringLiteral("None");
}

bool MprisService::shuffle() const { return core_.session.modes().shuffle; }

void MprisService::setLoopStatus(const QString& status) {
    PlayModes modes = core_.session.modes();
    if (status == QLatin1String("None")) modes.repeat = Repeat::Off;
    else if (status == QLatin1String("Track")) modes.repeat = Repeat::Track;
    else if (status == QLatin1String("Playlist")) modes.repeat = Repeat::Disc;
    else return;
    core_.transport.SetPlayModes(modes);
}

void MprisService::setShuffle(bool on) {
    PlayModes modes = core_.session.modes();
    modes.shuffle = on;
    core_.transport.SetPlayModes(modes);
}

void MprisService::raise() {
    if (raise_) raise_();
}
void MprisService::quit() {
    if (quit_) quit_();
}
// Each command is refused, as its button is, when the button would be disabled.
void MprisService::play() {
    if (core_.session.state().enables.play) core_.transport.Play();
}
void MprisService::pause() {
    if (canPause()) core_.transport.Pause();
}
void MprisService::playPause() { canPause() ? pause() : play(); }
// Stop from the bus also stops a paused disc, whose Stop button is disabled.
void MprisService::stop() {
    const PlayerState& s = core_.session.state();
    if (s.enables.stop || (s.discKind == DiscKind::Audio && s.Paused)) core_.transport.Stop();
}
void MprisService::next() {
    if (canGoNext()) core_.transport.NextTrack();
}
void MprisService::previous() {
    if (canGoPrevious()) core_.transport.PreviousTrack();
}

void MprisService::seekTo(qlonglong positionUs) {
    if (!canSeek()) return;
    const int track = core_.session.state().CurrentTrack;
    const qlonglong length = trackLengthUs(track);
    // Past the track's end is the next track, as the media bus asks.
    if (length > 0 && positionUs >= length) {
        next();
        return;
    }
    // The nearest frame.
    const qlonglong frames = (std::max<qlonglong>(0, positionUs) * kFramesPerSecond + kUsPerSecond / 2) / kUsPerSecond;
    if (core_.transport.PlayFromFrameOfTrack(static_cast<int>(frames)).ok()) emit seeked(this->positionUs());
}

// From where the drive is now, not where the last refresh saw it.
void MprisService::seek(qlonglong offsetUs) {
    if (!canSeek()) return;
    core_.refresh.followPosition();
    seekTo(positionUs() + offsetUs);
}

void MprisService::setPosition(const QString& id, qlonglong positionUs) {
    // A position for a track that is no longer playing is ignored.
    if (id != trackId(core_.session.state().CurrentTrack) || positionUs < 0) return;
    seekTo(positionUs);
}

void MprisService::announceChanges() {
    const QVariantMap now{{QStringLiteral("PlaybackStatus"), playbackStatus()},
                          {QStringLiteral("Metadata"), metadata()},
                          {QStringLiteral("CanPlay"), canPlay()},
                          {QStringLiteral("CanPause"), canPause()},
                          {QStringLiteral("CanGoNext"), canGoNext()},
                          {QStringLiteral("CanGoPrevious"), canGoPrevious()},
                          {QStringLiteral("CanSeek"), canSeek()},
                          {QStringLiteral("Volume"), volumeShown()},
                          {QStringLiteral("LoopStatus"), loopStatus()},
                          {QStringLiteral("Shuffle"), shuffle()}};
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it)
        if (announced_.value(it.key()) != it.value()) changed.insert(it.key(), it.value());
    announced_ = now;
    if (changed.isEmpty()) return;
    QDBusMessage message =
        QDBusMessage::createSignal(QString::fromLatin1(kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    message << kPlayerInterface << changed << QStringList();
    bus_.send(message);
}

}  // namespace velmora
