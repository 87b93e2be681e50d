#include "chrome/volume_knob.h"

#include <QPainter>
#include <QtMath>

namespace velmora {

VolumeKnob::VolumeKnob(QWidget* parent) : QDial(parent) {
    setNotchesVisible(false);
    setWrapping(false);
}

void VolumeKnob::setUnavailable(bool unavailable) {
    if (unavailable == unavailable_) return;
    unavailable_ = unavailable;
    update();
}

void VolumeKnob::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);

    const int side = qMin(width(), height());
    const int shadowOffset = side >= 20 ? 2 : 1;
    const int dialSide = side - shadowOffset;
    const QRectF dial((width() - side) / 2.0, (height() - side) / 2.0, dialSide, dialSide);

    // Shadow to the lower right, then the dial over it.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kShadowColour);
    painter.drawEllipse(dial.translated(shadowOffset, shadowOffset));

    const QColor face = isEnabled() ? kDialColour : kDialColour.darker(125);
    painter.setBrush(face);
    painter.setPen(QPen(face.darker(150), 1.0));
    painter.drawEllipse(dial.adjusted(0.5, 0.5, -0.5, -0.5));

    // The LED: 240 degrees (lower left) at the minimum, -60 degrees (lower right) at the
    // maximum, counter-clockwise angles with y pointing up.
    const double span = double(maximum()) - double(minimum());
    const double fraction = span > 0 ? (double(value()) - double(minimum())) / span : 0.0;
    const double angle = qDegreesToRadians(240.0 - 300.0 * fraction);
    const double radius = dialSide / 2.0;
    const QPointF centre = dial.center();
    const QPointF led(centre.x() + radius * 0.62 * qCos(angle), centre.y() - radius * 0.62 * qSin(angle));
    const double ledRadius = qMax(1.5, radius * 0.2);

    const QColor ledColour = unavailable_ || !isEnabled() ? QColor(96, 96, 96) : kLedColour;
    painter.setPen(Qt::NoPen);
    painter.setBrush(ledColour);
    painter.drawEllipse(led, ledRadius, ledRadius);
}

}  // namespace velmora
