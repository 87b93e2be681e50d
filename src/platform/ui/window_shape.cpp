#include "platform/ui/window_shape.h"
#include "shared/units.h"

#include <QGuiApplication>
#include <QPainterPath>
#include <QPolygon>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace velmora {

QRegion roundRectRegion(int left, int top, int right, int bottom, int ellipseW, int ellipseH) {
    const int width = right - left;
    const int height = bottom - top;
    if (width <= 0 || height <= 0) return {};
    // Corners are quarter ellipses, their radii no more than half the sides. A pixel belongs
    // to the shape when its centre lies inside; each row is one run, worked out directly
    // (testing every pixel against a path costs a third of a second for the editor).
    const double rx = std::min(ellipseW / 2.0, width / 2.0);
    const double ry = std::min(ellipseH / 2.0, height / 2.0);
    std::vector<QRect> rows;
    rows.reserve(static_cast<std::size_t>(height));
    for (int y = top; y < bottom; ++y) {
        const double cy = y + 0.5;
        double dy = 0;
        if (cy < top + ry) dy = top + ry - cy;
        else if (cy > bottom - ry) dy = cy - (bottom - ry);
        double inset = 0;
        if (dy > 0 && rx > 0) {
            const double t = 1 - (dy / ry) * (dy / ry);
            if (t <= 0) continue;
            inset = rx - rx * std::sqrt(t);
        }
        const int first = std::max(left, static_cast<int>(std::floor(left + inset - 0.5)) + 1);
        const int end = std::min(right, static_cast<int>(std::ceil(right - inset - 0.5)));
        if (end > first) rows.emplace_back(first, y, end - first, 1);
    }
    QRegion region;
    region.setRects(rows.data(), static_cast<int>(rows.size()));
    return region;
}

void setWindowRegion(QWidget* widget, const QRegion& region) {
    if (widget) widget->setMask(region);
}

int twipsToPixels(double twips) {
    return static_cast<int>(std::nearbyint(twips / kTwipsPerPixel));  // default rounding: halves to even
}

QRect screenGeometry() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 800, 600);
}

void centreOnScreen(QWidget* window) {
    if (!window) return;
    const QRect screen = screenGeometry();
    const int left = (screen.width() * kTwipsPerPixel - window->width() * kTwipsPerPixel) / 2;
    const int top = (screen.height() * kTwipsPerPixel - window->height() * kTwipsPerPixel) / 2;
    window->move(twipsToPixels(left), twipsToPixels(top));
}

void placeWindow(QWidget* window, Layer layer, bool activate) {
    if (!window) return;
    const bool topmost = layer == Layer::Topmost;
    const Qt::WindowFlags flags = window->windowFlags();
    if (flags.testFlag(Qt::WindowStaysOnTopHint) != topmost) {
        window->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    }
    window->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    window->show();
    window->raise();
    if (activate) window->activateWindow();
}

}  // namespace velmora
