#include "chrome/click_area.h"

#include <QMouseEvent>

namespace velmora {

ClickArea::ClickArea(QWidget* parent) : QLabel(parent) {}

void ClickArea::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickArea::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit clicked();
}

void ClickArea::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    emit doubleClicked();
}

}  // namespace velmora
