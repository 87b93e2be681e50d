#include "mixer/volume_controls.h"

#include "chrome/artwork.h"
#include "chrome/face_layout.h"
#include "mixer/mixer_volume.h"
#include "mixer/null_mixer_volume.h"
#include "mixer/volume_knob.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace velmora {

namespace {

QLabel* makeImage(QWidget* parent, const char* name, const QString& tip, const QPixmap& picture) {
    auto* image = new QLabel(parent);
    image->setObjectName(QString::fromLatin1(name));
    image->setGeometry(face::kMute);
    image->setPixmap(picture);
    image->setAlignment(Qt::AlignCenter);
    image->setToolTip(tip);
    image->setCursor(Qt::PointingHandCursor);
    image->setAttribute(Qt::WA_TranslucentBackground);
    return image;
}

}  // namespace

VolumeControls::VolumeControls(QWidget* mainWindow, MixerFactory createMixer)
    : QObject(mainWindow), window_(mainWindow), createMixer_(std::move(createMixer)) {
    sldMain_ = new VolumeKnob(mainWindow);
    sldMain_->setObjectName(QStringLiteral("sldMain"));
    sldMain_->setGeometry(face::kVolumeKnob);
    sldMain_->setRange(0, 65535);
    sldMain_->setSingleStep(1024);
    sldMain_->setPageStep(8192);
    sldMain_->setToolTip(QStringLiteral("Volume"));
    connect(sldMain_, &QDial::valueChanged, this, [this] { sldMain_Change(); });

    // Design state: audible, until the first poll reads the mixer.
    imgMute_ = makeImage(mainWindow, "imgMute", QStringLiteral("Mute Volume"), artwork::muteImage());
    imgUnmute_ = makeImage(mainWindow, "imgUnmute", QStringLiteral("Un-Mute Volume"), artwork::unmuteImage());
    imgUnmute_->setVisible(false);
    imgMute_->installEventFilter(this);
    imgUnmute_->installEventFilter(this);

    tmrVolume_ = new QTimer(this);
    tmrVolume_->setObjectName(QStringLiteral("tmrVolume"));
    tmrVolume_->setInterval(kPollIntervalMs);
    connect(tmrVolume_, &QTimer::timeout, this, &VolumeControls::tmrVolume_Timer);
    tmrVolume_->start();
}

VolumeControls::~VolumeControls() = default;

QDial* VolumeControls::sldMain() const { return sldMain_; }

CMixerVolume& VolumeControls::mixer() {
    if (!mixer_) {
        if (createMixer_) mixer_ = createMixer_();
        if (!mixer_) mixer_ = std::make_unique<NullMixerVolume>();
    }
    return *mixer_;
}

void VolumeControls::tmrVolume_Timer() {
    // A face hidden to the tray or minimised to the taskbar is not looked at: no poll.
    if (!window_->isVisible() || window_->isMinimized()) return;
    CMixerVolume& m = mixer();

    const std::int32_t volume = m.MainVolume();
    sldMain_->setUnavailable(volume < 0);
    // Leave a knob that is being dragged alone; the drag's own writes decide the volume.
    if (!sldMain_->isSliderDown()) {
        settingFromPoll_ = true;
        sldMain_->setValue(std::clamp<std::int32_t>(volume, 0, 65535));
        settingFromPoll_ = false;
    }

    const bool muted = m.MainMute();
    imgUnmute_->setVisible(muted);
    imgMute_->setVisible(!muted);
}

// A value the poll just read needs no writing back.
void VolumeControls::sldMain_Change() {
    if (settingFromPoll_) return;
    const std::int32_t volume = sldMain_->value();
    mixer().setMainVolume(volume);
}

void VolumeControls::imgMute_Click() {
    mixer().setMainMute(true);
    tmrVolume_Timer();
}

void VolumeControls::imgUnmute_Click() {
    mixer().setMainMute(false);
    tmrVolume_Timer();
}

// An image's click: the left button pressed and released over the same image.
bool VolumeControls::eventFilter(QObject* watched, QEvent* event) {
    if (watched != imgMute_ && watched != imgUnmute_) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) pressedImage_ = watched;
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) return true;
        const bool clicked =
            pressedImage_ == watched && static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint());
        pressedImage_ = nullptr;
        if (clicked) {
            if (watched == imgMute_) imgMute_Click();
            else imgUnmute_Click();
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace velmora
