#include "platform/ui/window_shape.h"

#include <QPainterPath>
#include <QPolygon>
#include <QWidget>

#include <cmath>

namespace velmora {

QRegion roundRectRegion(int left, int top, int right, int bottom, int ellipseW, int ellipseH) {
    const int width = right - left;
    const int height = bottom - top;
    if (width <= 0 || height <= 0) return {};
    QPainterPath path;
    path.addRoundedRect(QRectF(left, top, width, height), ellipseW / 2.0, ellipseH / 2.0);
    // Pixel-exact: a pixel belongs to the shape when its centre does.
    QRegion region;
    for (int y = top; y < bottom; ++y) {
        int runStart = -1;
        for (int x = left; x <= right; ++x) {
            const bool inside = x < right && path.contains(QPointF(x + 0.5, y + 0.5));
            if (inside && runStart < 0) runStart = x;
            if (!inside && runStart >= 0) {
                region += QRect(runStart, y, x - runStart, 1);
                runStart = -1;
            }
        }
    }
    return region;
}

void setWindowRegion(QWidget* widget, const QRegion& region) {
    if (widget) widget->setMask(region);
}

int twipsToPixels(double twips) {
    return static_cast<int>(std::nearbyint(twips / 15.0));  // default rounding: halves to even
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
