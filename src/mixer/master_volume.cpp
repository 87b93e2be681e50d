#include "mixer/master_volume.h"

#include "mixer/null_mixer_volume.h"

#include <QTimer>

namespace velmora {

MasterVolume::MasterVolume(MixerFactory createMixer, QObject* parent)
    : QObject(parent), createMixer_(std::move(createMixer)) {
    tmrVolume_ = new QTimer(this);
    tmrVolume_->setObjectName(QStringLiteral("tmrVolume"));
    tmrVolume_->setInterval(kPollIntervalMs);
    connect(tmrVolume_, &QTimer::timeout, this, &MasterVolume::poll);
    tmrVolume_->start();
}

MasterVolume::~MasterVolume() = default;

void MasterVolume::setGate(std::function<bool()> gate) { gate_ = std::move(gate); }

CMixerVolume& MasterVolume::mixer() {
    if (!mixer_) {
        if (createMixer_) mixer_ = createMixer_();
        if (!mixer_) mixer_ = std::make_unique<NullMixerVolume>();
    }
    return *mixer_;
}

void MasterVolume::poll() {
    // A face put away is not looked at: no mixer access at all.
    if (gate_ && !gate_()) return;
    const bool differs = readLine();
    emit polled(volume_, muted_);
    if (differs) emit changed(volume_, muted_);
}

void MasterVolume::read() {
    if (readLine()) emit changed(volume_, muted_);
}

bool MasterVolume::readLine() {
    CMixerVolume& m = mixer();
    const std::int32_t volume = m.MainVolume();
    const bool muted = m.MainMute();
    // On the player's scale: below it is no mixer, above it the top.
    const int shown = volume >= 0 && volume <= 65535 ? static_cast<int>(volume) : volume < 0 ? -1 : 65535;
    const bool differs = !polledOnce_ || shown != volume_ || muted != muted_;
    polledOnce_ = true;
    volume_ = shown;
    muted_ = muted;
    return differs;
}

void MasterVolume::setVolume(int volume) { mixer().setMainVolume(volume); }

void MasterVolume::setMute(bool muted) { mixer().setMainMute(muted); }

}  // namespace velmora
