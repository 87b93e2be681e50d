#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace velmora {

// A place given in twips, as the windows' layouts are written, in pixels.
QRect twipsRect(int left, int top, int width, int height);

// Arial at a point size, falling back to the desktop's sans-serif face.
QFont arialFont(double points, bool bold = false);

// A caption in the windows' yellow over their background pictures; clicks go through it
// to the window body, so the window drags by its captions too.
QLabel* yellowLabel(QWidget* parent, const QString& caption, const QRect& place, double points = 9, bool bold = true);

// Shrinks the caption's font until its text fits the label's width, for faces wider than
// the one the layout was drawn with.
void fitCaption(QLabel* label);

}  // namespace velmora
