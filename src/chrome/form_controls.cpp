#include "chrome/form_controls.h"

#include "platform/ui/window_shape.h"

#include <QFontMetrics>
#include <QLabel>

namespace velmora {

QRect twipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

QFont arialFont(double points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QLabel* yellowLabel(QWidget* parent, const QString& caption, const QRect& place, double points, bool bold) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(place);
    label->setFont(arialFont(points, bold));
    label->setStyleSheet(QStringLiteral("color: rgb(255, 255, 0); background: transparent;"));
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

void fitCaption(QLabel* label) {
    QFont font = label->font();
    while (font.pointSizeF() > 6 && QFontMetrics(font).horizontalAdvance(label->text()) > label->width())
        font.setPointSizeF(font.pointSizeF() - 0.25);
    label->setFont(font);
}

}  // namespace velmora
