#include "chrome/picture_button.h"

#include "platform/ui/window_shape.h"

#include <QPainter>

namespace velmora {

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) { setFocusPolicy(Qt::NoFocus); }

void PictureButton::setPictures(const QPixmap& enabled, const QPixmap& disabled, const QPixmap& pressed) {
    enabled_ = enabled;
    disabled_ = disabled;
    pressed_ = pressed;
    update();
}

QSize PictureButton::sizeHint() const { return enabled_.isNull() ? QSize(16, 16) : enabled_.size(); }

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool pressed = isDown() && isEnabled();
    const QPixmap& picture = (!isEnabled() && !disabled_.isNull()) ? disabled_
                             : (pressed && !pressed_.isNull())     ? pressed_
                                                                   : enabled_;
    if (picture.isNull()) return;
    // Centred; a pressed button without a face of its own sinks by a pixel.
    QPoint at((width() - picture.width()) / 2, (height() - picture.height()) / 2);
    if (pressed && pressed_.isNull()) at += QPoint(1, 1);
    painter.drawPixmap(at, picture);
}

void RoundButton(QWidget* button) { setWindowRegion(button, roundRectRegion(3, 3, 40, 28, 15, 15)); }

}  // namespace velmora
