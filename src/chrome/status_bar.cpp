#include "chrome/status_bar.h"

#include "chrome/skinned_window.h"
#include "platform/ui/window_shape.h"
#include "shared/units.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace velmora {

StatusBarShape::StatusBarShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(0, parent ? parent->height() : 0);
}

void StatusBarShape::setWidthTwips(int twips) {
    widthTwips_ = twips;
    resize(std::max(0, twipsToPixels(twips)), height());
}

void StatusBarShape::setColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void StatusBarShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0, colour_.lighter(130));
    fill.setColorAt(1, colour_.darker(120));
    painter.fillRect(rect(), fill);
}

PositionBarFrame::PositionBarFrame(QWidget* parent) : QWidget(parent) {}

void PositionBarFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(24, 20, 18, 200));
}

void PositionBarFrame::mousePressEvent(QMouseEvent* event) {
    const QPointF p = event->position() * kTwipsPerPixel;
    if (onMouseDown) onMouseDown(mouseButtonCode(event->button()), p.x(), p.y());
}

void PositionBarFrame::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = event->position() * kTwipsPerPixel;
    const int button = event->buttons().testFlag(Qt::LeftButton) ? 1 : mouseButtonCode(event->button());
    if (onMouseMove) onMouseMove(button, p.x(), p.y());
}

void PositionBarFrame::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF p = event->position() * kTwipsPerPixel;
    if (onMouseUp) onMouseUp(mouseButtonCode(event->button()), p.x(), p.y());
}

}  // namespace velmora
