#include "chrome/skinned_window.h"

#include "platform/ui/window_shape.h"
#include "shared/units.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <cmath>

namespace velmora {

namespace {

// On a Wayland session without XWayland a window cannot place itself: let the
// compositor move it instead.
bool compositorMovesWindows() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }
}  // namespace

int mouseButtonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

SkinnedWindow::SkinnedWindow(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SkinnedWindow::setSkin(const QPixmap& skin, const QColor& surround) {
    skin_ = skin;
    surround_ = surround;
    update();
}

int SkinnedWindow::Left() const { return x() * kTwipsPerPixel; }
int SkinnedWindow::Top() const { return y() * kTwipsPerPixel; }
int SkinnedWindow::Width() const { return width() * kTwipsPerPixel; }
int SkinnedWindow::Height() const { return height() * kTwipsPerPixel; }
void SkinnedWindow::setLeft(int twips) { move(twipsToPixels(twips), y()); }
void SkinnedWindow::setTop(int twips) { move(x(), twipsToPixels(twips)); }

void SkinnedWindow::Form_MouseDown(int /*Button*/, double X, double Y) {
    Dragging_ = true;
    DragStartX = X;
    DragStartY = Y;
}

void SkinnedWindow::Form_MouseMove(int /*Button*/, double X, double Y) {
    if (!Dragging_) return;
    setLeft(static_cast<int>(X - DragStartX + Left()));
    setTop(static_cast<int>(Y - DragStartY + Top()));
}

void SkinnedWindow::Form_MouseUp(int /*Button*/, double /*X*/, double /*Y*/) { Dragging_ = false; }

void SkinnedWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), surround_);
    if (!skin_.isNull()) painter.drawPixmap(0, 0, skin_);
}

void SkinnedWindow::mousePressEvent(QMouseEvent* event) {
    if (compositorMovesWindows() && windowHandle()) {
        windowHandle()->startSystemMove();
        return;
    }
    const QPointF p = event->position() * kTwipsPerPixel;
    Form_MouseDown(mouseButtonCode(event->button()), p.x(), p.y());
}

// The window may not have reached the place asked for by the last move when the next
// event arrives, so the relative position is taken from the global one and the place
// the window has been given: the press point then stays under the mouse.
void SkinnedWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPointF global = event->globalPosition() * kTwipsPerPixel;
    Form_MouseMove(mouseButtonCode(event->button()), global.x() - Left(), global.y() - Top());
}

void SkinnedWindow::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF p = event->position() * kTwipsPerPixel;
    Form_MouseUp(mouseButtonCode(event->button()), p.x(), p.y());
}

}  // namespace velmora
