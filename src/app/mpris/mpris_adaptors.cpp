#include "app/mpris/mpris_adaptors.h"

#include "app/mpris/mpris_service.h"

namespace velmora {

MprisRootAdaptor::MprisRootAdaptor(QObject* object, MprisService& service)
    : QDBusAbstractAdaptor(object), service_(service) {}

void MprisRootAdaptor::Raise() { service_.raise(); }
void MprisRootAdaptor::Quit() { service_.quit(); }

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject* object, MprisService& service)
    : QDBusAbstractAdaptor(object), service_(service) {
    connect(&service_, &MprisService::seeked, this, &MprisPlayerAdaptor::Seeked);
}

QString MprisPlayerAdaptor::playbackStatus() const { return service_.playbackStatus(); }
QVariantMap MprisPlayerAdaptor::metadata() const { return service_.metadata(); }
qlonglong MprisPlayerAdaptor::position() const { return service_.positionUs(); }
bool MprisPlayerAdaptor::canGoNext() const { return service_.canGoNext(); }
bool MprisPlayerAdaptor::canGoPrevious() const { return service_.canGoPrevious(); }
bool MprisPlayerAdaptor::canPlay() const { return service_.canPlay(); }
bool MprisPlayerAdaptor::canPause() const { return service_.canPause(); }
bool MprisPlayerAdaptor::canSeek() const { return service_.canSeek(); }
double MprisPlayerAdaptor::volume() const { return service_.volume(); }
void MprisPlayerAdaptor::setVolume(double volume) { service_.setVolume(volume); }
bool MprisPlayerAdaptor::canControl() const { return service_.canControl(); }
QString MprisPlayerAdaptor::loopStatus() const { return service_.loopStatus(); }
void MprisPlayerAdaptor::setLoopStatus(const QString& status) { service_.setLoopStatus(status); }
bool MprisPlayerAdaptor::shuffle() const { return service_.shuffle(); }
void MprisPlayerAdaptor::setShuffle(bool on) { service_.setShuffle(on); }

void MprisPlayerAdaptor::Next() { service_.next(); }
void MprisPlayerAdaptor::Previous() { service_.previous(); }
void MprisPlayerAdaptor::Pause() { service_.pause(); }
void MprisPlayerAdaptor::PlayPause() { service_.playPause(); }
void MprisPlayerAdaptor::Stop() { service_.stop(); }
void MprisPlayerAdaptor::Play() { service_.play(); }
void MprisPlayerAdaptor::Seek(qlonglong Offset) { service_.seek(Offset); }
void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
    service_.setPosition(TrackId.path(), Position);
}

}  // namespace velmora
