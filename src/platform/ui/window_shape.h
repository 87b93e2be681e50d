#pragma once

#include <QRect>
#include <QRegion>

class QWidget;

namespace velmora {

// Window shapes and placement for the borderless windows. Everything outside a shape is
// neither drawn nor clickable: clicks there go to whatever lies beneath.

// A rounded rectangle with corners rounded by an ellipse of ellipseW x ellipseH, from
// left/top to right/bottom (exclusive), in pixels of the widget's own coordinates.
QRegion roundRectRegion(int left, int top, int right, int bottom, int ellipseW, int ellipseH);

// Cuts `widget` to `region` (the widget keeps the region; nothing else to free).
void setWindowRegion(QWidget* widget, const QRegion& region);

// Twips to pixels by the fixed factor of 15, rounded to nearest, halves to even.
int twipsToPixels(double twips);

// The primary screen's geometry in pixels (800 x 600 when there is no screen).
QRect screenGeometry();

// Centres a top-level window on the screen: left = (screen width - window width) / 2 and
// top likewise, worked out in twips.
void centreOnScreen(QWidget* window);

enum class Layer { Top, Topmost };

// Places a top-level window at its own place and size in the given layer and shows it,
// optionally without taking the keyboard focus.
void placeWindow(QWidget* window, Layer layer, bool activate);

}  // namespace velmora
