#include "chrome/picture_button.h"

#include "platform/ui/window_shape.h"

#include <QPainter>

namespace velmora {

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void PictureButton::setPictures(const QPixmap& enabled, const QPixmap& disabled) {
    enabled_ = enabled;
    disabled_ = disabled;
    update();
}

QSize PictureButton::sizeHint() const { return enabled_.isNull() ? QSize(16, 16) : enabled_.size(); }

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap& picture = (!isEnabled() && !disabled_.isNull()) ? disabled_ : enabled_;
    if (picture.isNull()) return;
    // Centred; pressed buttons sink by a pixel so a click can be seen.
    QPoint at((width() - picture.width()) / 2, (height() - picture.height()) / 2);
    if (isDown()) at += QPoint(1, 1);
    painter.drawPixmap(at, picture);
}

void RoundButton(QWidget* button) {
    setWindowRegion(button, roundRectRegion(3, 3, 40, 28, 15, 15));
}

}  // namespace velmora
