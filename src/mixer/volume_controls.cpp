#include "mixer/volume_controls.h"

#include "chrome/face_layout.h"
#include "mixer/mixer_volume.h"
#include "mixer/null_mixer_volume.h"
#include "mixer/volume_knob.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace velmora {

namespace {

// Drawn here until the shared artwork has its mute pictures: a speaker, sounding or
// crossed out, 19 x 20 on a transparent ground.
QPixmap speakerPicture(bool crossed) {
    QPixmap picture(19, 20);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor(40, 40, 40), 1.0));
    painter.setBrush(QColor(200, 200, 200));
    const QPointF body[] = {{2, 7}, {6, 7}, {11, 3}, {11, 17}, {6, 13}, {2, 13}};
    painter.drawPolygon(body, 6);
    painter.setBrush(Qt::NoBrush);
    if (crossed) {
        painter.setPen(QPen(QColor(192, 0, 0), 2.0));
        painter.drawLine(QPointF(13, 7), QPointF(18, 13));
        painter.drawLine(QPointF(18, 7), QPointF(13, 13));
    } else {
        painter.setPen(QPen(QColor(0, 128, 0), 1.5));
        painter.drawArc(QRectF(8, 6, 8, 8), -50 * 16, 100 * 16);
        painter.drawArc(QRectF(7, 3, 11, 14), -55 * 16, 110 * 16);
    }
    return picture;
}

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
    imgMute_ = makeImage(mainWindow, "imgMute", QStringLiteral("Mute Volume"), speakerPicture(false));
    imgUnmute_ = makeImage(mainWindow, "imgUnmute", QStringLiteral("Un-Mute Volume"), speakerPicture(true));
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
    if (!window_->isVisible()) return;
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
        const bool clicked = pressedImage_ == watched &&
                             static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint());
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
