#include "chrome/artwork_windows.h"

#include <QPainter>

namespace velmora::artwork {

namespace {
QPixmap flat(QSize size, QColor colour) {
    QPixmap p(size);
    p.fill(colour);
    return p;
}
}  // namespace

QPixmap editorBackground() { return flat({477, 467}, QColor(30, 40, 70)); }
QPixmap editorLocatePicture(bool pressed) { return flat({57, 41}, pressed ? Qt::darkGray : Qt::gray); }
QPixmap editorExitPicture(bool pressed) { return flat({57, 41}, pressed ? Qt::darkGray : Qt::lightGray); }

}  // namespace velmora::artwork
