// Button faces, small pictures, the icon, the cursors and the LED digits.
#include "chrome/artwork.h"

#include <QConicalGradient>
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QTransform>
#include <QtMath>

#include <cmath>

namespace velmora::artwork {
namespace {

const QColor kInk(0x1e, 0x2a, 0x38);
const QColor kInkDisabled(0xa0, 0xa6, 0xae);
const QColor kOutline(0x18, 0x21, 0x2b);
const QColor kSpeakerFill(0xf4, 0xf6, 0xf8);

QImage transparentImage(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// The transport glyphs on a 39 x 25 face, centred on (19.5, 12.5), straight edges on
// whole pixels so they stay crisp.
QPainterPath transportGlyph(TransportButton button) {
    QPainterPath path;
    auto triangle = [&path](QPointF a, QPointF b, QPointF c) {
        QPainterPath t;
        t.moveTo(a);
        t.lineTo(b);
        t.lineTo(c);
        t.closeSubpath();
        path.addPath(t);
    };
    const QTransform mirror = QTransform::fromTranslate(39, 0).scale(-1, 1);
    switch (button) {
    case TransportButton::Play:
        triangle({14, 6}, {14, 19}, {26, 12.5});
        break;
    case TransportButton::Pause:
        path.addRect(QRectF(14, 6, 4, 13));
        path.addRect(QRectF(21, 6, 4, 13));
        break;
    case TransportButton::Stop:
        path.addRect(QRectF(14, 7, 11, 11));
        break;
    case TransportButton::Eject:
        triangle({12, 14}, {27, 14}, {19.5, 6});
        path.addRect(QRectF(12, 16, 15, 3));
        break;
    case TransportButton::ForwardTrack:
    case TransportButton::BackTrack:
        triangle({13, 6}, {13, 19}, {23, 12.5});
        path.addRect(QRectF(23, 6, 3, 13));
        if (button == TransportButton::BackTrack) path = mirror.map(path);
        break;
    case TransportButton::FF:
    case TransportButton::RR:
        triangle({10, 6}, {10, 19}, {19, 12.5});
        triangle({19, 6}, {19, 19}, {28, 12.5});
        if (button == TransportButton::RR) path = mirror.map(path);
        break;
    }
    path.setFillRule(Qt::WindingFill);
    return path;
}

void paintBlankFace(QPainter& p, bool enabled, bool pressed) {
    const QRectF face(0, 0, kTransportPictureWidth, kTransportPictureHeight);
    QLinearGradient fill(0, 0, 0, face.height());
    if (!enabled) {
        fill.setColorAt(0, QColor(0xe0, 0xe3, 0xe6));
        fill.setColorAt(1, QColor(0xc8, 0xcc, 0xd1));
    } else if (pressed) {
        fill.setColorAt(0, QColor(0xa9, 0xb1, 0xbc));
        fill.setColorAt(1, QColor(0xd8, 0xdd, 0xe3));
    } else {
        fill.setColorAt(0, QColor(0xfc, 0xfd, 0xfe));
        fill.setColorAt(0.45, QColor(0xe4, 0xe8, 0xed));
        fill.setColorAt(1, QColor(0xb4, 0xbc, 0xc6));
    }
    p.fillRect(face, fill);
    if (enabled && !pressed) {
        // A gloss line under the top edge and a soft shadow above the bottom one.
        p.fillRect(QRectF(7, 2, 25, 1), QColor(255, 255, 255, 190));
        p.fillRect(QRectF(5, 22, 29, 1), QColor(0x70, 0x7a, 0x88, 70));
    } else if (pressed) {
        p.fillRect(QRectF(5, 2, 29, 1), QColor(0x50, 0x5a, 0x68, 90));
    }
}

QPixmap tile(int w, int h, const QColor& top, const QColor& bottom, const QColor& rim) {
    QImage image = transparentImage(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, h);
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(rim, 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 2.5, 2.5);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1));
    p.drawLine(QPointF(2.5, 1.5), QPointF(w - 2.5, 1.5));
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap silverTile(int w, int h) {
    return tile(w, h, QColor(0xfa, 0xfb, 0xfc), QColor(0xbc, 0xc3, 0xcc), QColor(0x3e, 0x4a, 0x58));
}

QPainterPath speakerPath() {
    QPainterPath path;
    path.moveTo(2, 7.5);
    path.lineTo(5.5, 7.5);
    path.lineTo(10, 3.5);
    path.lineTo(10, 16.5);
    path.lineTo(5.5, 12.5);
    path.lineTo(2, 12.5);
    path.closeSubpath();
    return path;
}

// Speaker with a dark outline and a light body, readable on light and dark skins alike.
void paintSpeaker(QPainter& p) {
    const QPainterPath speaker = speakerPath();
    p.setPen(QPen(kOutline, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kSpeakerFill);
    p.drawPath(speaker);
    p.setPen(Qt::NoPen);
    p.drawPath(speaker);
}

// A stroke drawn twice: dark and wide under, then its colour on top.
void outlinedStroke(QPainter& p, const QPainterPath& path, const QColor& colour, double width) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kOutline, width + 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

QPixmap cursorPixmap(const QPainterPath& shape, const QColor& fill) {
    QImage image = transparentImage(32, 32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(shape);
    p.end();
    return QPixmap::fromImage(image);
}

void paintGear(QPainter& p, QPointF centre, double outer, double inner, int teeth) {
    QPainterPath gear;
    const int steps = teeth * 4;
    for (int i = 0; i < steps; ++i) {
        const double a = 2 * M_PI * i / steps - M_PI / steps;
        const double radius = (i % 4 < 2) ? outer : inner;
        const QPointF pt(centre.x() + radius * std::cos(a), centre.y() + radius * std::sin(a));
        if (i == 0) gear.moveTo(pt);
        else gear.lineTo(pt);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(centre, inner * 0.42, inner * 0.42);
    p.drawPath(gear.subtracted(hole));
}

}  // namespace

QPixmap transportBlankFace(bool enabled, bool pressed) {
    QImage image(kTransportPictureWidth, kTransportPictureHeight, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    paintBlankFace(p, enabled, pressed);
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap transportPicture(TransportButton button, bool enabled, bool pressed) {
    QImage image(kTransportPictureWidth, kTransportPictureHeight, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    paintBlankFace(p, enabled, pressed);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    QPainterPath glyph = transportGlyph(button);
    if (pressed) glyph.translate(0, 1);
    // An engraved look: a light edge under the glyph.
    p.setBrush(QColor(255, 255, 255, enabled ? 200 : 150));
    p.drawPath(glyph.translated(0, 1));
    p.setBrush(enabled ? kInk : kInkDisabled);
    p.drawPath(glyph);
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap aboutPicture() {
    QImage image = transparentImage(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient fill(QPointF(6, 5), 11);
    fill.setColorAt(0, QColor(0x8c, 0xc6, 0xff));
    fill.setColorAt(1, QColor(0x1f, 0x5c, 0xb0));
    p.setPen(QPen(QColor(0x12, 0x30, 0x60), 1));
    p.setBrush(fill);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 4.6), 1.45, 1.45);
    p.drawRoundedRect(QRectF(6.9, 6.9, 2.2, 6), 0.6, 0.6);
    p.drawRect(QRectF(6, 6.9, 1.5, 1.1));  // serif at the top
    p.drawRect(QRectF(6, 11.9, 4, 1));     // foot
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap minimizePicture() {
    QPixmap picture = silverTile(13, 11);
    QPainter p(&picture);
    p.fillRect(QRect(3, 7, 7, 2), kInk);
    return picture;
}

QPixmap exitPicture() {
    QPixmap picture = tile(13, 11, QColor(0xf4, 0x86, 0x72), QColor(0xc2, 0x32, 0x22), QColor(0x6e, 0x18, 0x10));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 1.7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 3), QPointF(9, 8));
    p.drawLine(QPointF(9, 3), QPointF(4, 8));
    return picture;
}

QPixmap trackPickerPicture() {
    QPixmap picture = silverTile(16, 14);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    for (int y : {3, 6, 9}) {
        p.fillRect(QRect(3, y, 2, 2), kInk);
        p.fillRect(QRect(6, y, 4, 2), kInk);
    }
    QPainterPath arrow;
    arrow.moveTo(10.5, 5.5);
    arrow.lineTo(14.5, 5.5);
    arrow.lineTo(12.5, 9);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x5c, 0xb0));
    p.drawPath(arrow);
    return picture;
}

QPixmap trackEditorPicture() {
    QPixmap picture = silverTile(16, 14);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    for (int y : {3, 6, 9}) p.fillRect(QRect(3, y, 6, 2), kInk);
    // A pencil lying across the lines' right end.
    p.setPen(QPen(QColor(0x6a, 0x3c, 0x00), 3.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(13.8, 2.2), QPointF(8.6, 9.2));
    p.setPen(QPen(QColor(0xf0, 0xb0, 0x30), 1.8, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(13.8, 2.2), QPointF(8.6, 9.2));
    QPainterPath tip;
    tip.moveTo(9.6, 9.4);
    tip.lineTo(7.6, 8.0);
    tip.lineTo(7.2, 11.4);
    tip.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPath(tip);
    return picture;
}

QPixmap muteImage() {
    QImage image = transparentImage(19, 20);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintSpeaker(p);
    const QPointF centre(10, 10);
    for (double radius : {4.0, 7.0}) {
        QPainterPath wave;
        const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
        wave.arcMoveTo(box, 48);
        wave.arcTo(box, 48, -96);
        outlinedStroke(p, wave, kSpeakerFill, 1.5);
    }
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap unmuteImage() {
    QImage image = transparentImage(19, 20);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintSpeaker(p);
    QPainterPath cross;
    cross.moveTo(12.5, 7);
    cross.lineTo(17, 13);
    cross.moveTo(17, 7);
    cross.lineTo(12.5, 13);
    outlinedStroke(p, cross, QColor(0xe8, 0x3a, 0x2a), 2.0);
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap trayIconPixmap(int size) {
    size = qBound(8, size, 512);
    QImage image = transparentImage(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const QPointF c(s / 2, s / 2);
    const double r = s / 2 - 0.6;
    const double rim = s <= 16 ? 1.0 : s / 24.0;

    // Silver disc with a rainbow sheen, as light breaks on a disc's surface.
    QRadialGradient base(c - QPointF(r * 0.3, r * 0.3), r * 1.6);
    base.setColorAt(0, QColor(0xfa, 0xfc, 0xff));
    base.setColorAt(1, QColor(0x9c, 0xa8, 0xb8));
    p.setPen(QPen(QColor(0x24, 0x32, 0x46), rim));
    p.setBrush(base);
    p.drawEllipse(c, r - rim / 2, r - rim / 2);
    QConicalGradient sheen(c, 35);
    const QColor hues[] = {QColor(80, 200, 255, 120), QColor(255, 90, 220, 95), QColor(255, 230, 80, 110),
                           QColor(90, 255, 150, 90)};
    for (int i = 0; i <= 8; ++i) sheen.setColorAt(i / 8.0, hues[i % 4]);
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawEllipse(c, r - rim * 1.2, r - rim * 1.2);
    // Two light glints across the surface.
    p.setBrush(QColor(255, 255, 255, 120));
    for (double angle : {-45.0, 135.0}) {
        QPainterPath glint;
        glint.moveTo(c);
        glint.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), angle - 9, 18);
        glint.closeSubpath();
        p.drawPath(glint);
    }
    // Hub, then the hole through it.
    const double hub = r * 0.38;
    p.setPen(QPen(QColor(0x5a, 0x68, 0x7a), s <= 16 ? 0.8 : rim * 0.8));
    p.setBrush(QColor(0xe6, 0xea, 0xf0));
    p.drawEllipse(c, hub, hub);
    const double hole = qMax(1.5, r * 0.15);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(c, hole, hole);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(QPen(QColor(0x24, 0x32, 0x46), s <= 16 ? 0.8 : rim * 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, hole, hole);
    p.end();
    return QPixmap::fromImage(image);
}

QIcon trayIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(trayIconPixmap(size));
    return icon;
}

QPixmap transportCursorPixmap() {
    // A pointing hand: raised index finger, curled fingers, thumb and palm.
    QPainterPath hand;
    hand.addRoundedRect(QRectF(8, 1, 4.6, 17), 2.3, 2.3);
    hand.addRoundedRect(QRectF(12.2, 9, 4.2, 10), 2.1, 2.1);
    hand.addRoundedRect(QRectF(16.0, 10, 4.2, 10), 2.1, 2.1);
    hand.addRoundedRect(QRectF(19.8, 11.5, 4.0, 9), 2.0, 2.0);
    QPainterPath thumb;
    thumb.addRoundedRect(QRectF(-2.2, -5, 4.4, 10), 2.2, 2.2);
    hand.addPath(QTransform::fromTranslate(6, 17.5).rotate(-38).map(thumb));
    hand.addRoundedRect(QRectF(7, 15, 16.8, 12), 4.5, 4.5);
    hand.setFillRule(Qt::WindingFill);
    return cursorPixmap(hand.simplified(), Qt::white);
}

QPixmap setupCursorPixmap() {
    QPainterPath arrow;
    arrow.moveTo(1.5, 1.5);
    arrow.lineTo(1.5, 19.5);
    arrow.lineTo(5.8, 15.2);
    arrow.lineTo(8.8, 21.8);
    arrow.lineTo(11.6, 20.6);
    arrow.lineTo(8.6, 14.2);
    arrow.lineTo(14.6, 14.2);
    arrow.closeSubpath();
    QPixmap picture = cursorPixmap(arrow, Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 1.6));
    p.setBrush(QColor(0x24, 0x4a, 0x78));
    paintGear(p, QPointF(22.5, 22.5), 8, 6, 8);
    return picture;
}

QCursor transportCursor() {
    return QCursor(transportCursorPixmap(), kTransportCursorHotSpot.x(), kTransportCursorHotSpot.y());
}

QCursor setupCursor() { return QCursor(setupCursorPixmap(), kSetupCursorHotSpot.x(), kSetupCursorHotSpot.y()); }

unsigned ledSegments(int digit) {
    static constexpr unsigned kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    return (digit >= 0 && digit <= 9) ? kSegments[digit] : 0u;
}

void drawLedDigit(QPainter& painter, QRect rect, int digit, QColor on, QColor off) {
    if (rect.width() < 3 || rect.height() < 5) return;
    const double w = rect.width();
    const double h = rect.height();
    const double slant = 0.08;  // x shift per pixel of height
    const double mx = w * 0.08;
    const double my = h * 0.04;
    const double t = qMax(1.2, qMin(w * 0.19, h * 0.11));
    const double gap = qMax(0.3, t * 0.18);
    const double left = rect.left() + mx;
    const double right = rect.left() + w - mx - slant * (h - 2 * my);
    const double top = rect.top() + my;
    const double bottom = rect.top() + h - my;
    const double xl = left + t / 2;
    const double xr = right - t / 2;
    const double yt = top + t / 2;
    const double yb = bottom - t / 2;
    const double ym = (yt + yb) / 2;
    const double ht = t / 2;

    auto slanted = [&](double x, double y) { return QPointF(x + slant * (bottom - y), y); };
    auto horizontal = [&](double y) {
        QPolygonF poly{slanted(xl + gap, y), slanted(xl + gap + ht, y - ht), slanted(xr - gap - ht, y - ht),
                       slanted(xr - gap, y), slanted(xr - gap - ht, y + ht), slanted(xl + gap + ht, y + ht)};
        return poly;
    };
    auto vertical = [&](double x, double y0, double y1) {
        QPolygonF poly{slanted(x, y0 + gap), slanted(x + ht, y0 + gap + ht), slanted(x + ht, y1 - gap - ht),
                       slanted(x, y1 - gap), slanted(x - ht, y1 - gap - ht), slanted(x - ht, y0 + gap + ht)};
        return poly;
    };
    const QPolygonF segments[7] = {horizontal(yt),       vertical(xr, yt, ym), vertical(xr, ym, yb), horizontal(yb),
                                   vertical(xl, ym, yb), vertical(xl, yt, ym), horizontal(ym)};
    const unsigned lit = ledSegments(digit);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(off);
    for (int i = 0; i < 7; ++i)
        if (!(lit & (1u << i))) painter.drawPolygon(segments[i]);
    QColor glow = on;
    glow.setAlphaF(on.alphaF() * 0.22f);
    painter.setPen(QPen(glow, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(on);
    for (int i = 0; i < 7; ++i)
        if (lit & (1u << i)) painter.drawPolygon(segments[i]);
    painter.restore();
}

void drawAnnunciator(QPainter& painter, QRect rect, const QStringList& words, unsigned lit, QColor on, QColor off) {
    if (words.isEmpty() || rect.isEmpty()) return;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(qMax(6, rect.height() - 4));
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.4);
    const QFontMetricsF metrics(font);
    double textWidth = 0;
    for (const QString& word : words) textWidth += metrics.horizontalAdvance(word);
    // The words spread over the row with equal gaps, the first and last at its edges.
    const auto count = static_cast<double>(words.size());
    const double gap = words.size() > 1 ? (rect.width() - textWidth) / (count - 1) : 0;
    const double baseline = rect.top() + (rect.height() + metrics.capHeight()) / 2;
    double x = words.size() > 1 ? rect.left() : rect.left() + (rect.width() - textWidth) / 2;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    for (int i = 0; i < words.size(); ++i) {
        const bool shown = (lit >> i) & 1u;
        if (shown) {
            // A faint glow behind a lit word, as the LED segments have.
            QColor glow = on;
            glow.setAlphaF(on.alphaF() * 0.25f);
            painter.setPen(glow);
            for (const QPointF d : {QPointF(-0.6, 0), QPointF(0.6, 0), QPointF(0, -0.6), QPointF(0, 0.6)})
                painter.drawText(QPointF(x, baseline) + d, words[i]);
        }
        painter.setPen(shown ? on : off);
        painter.drawText(QPointF(x, baseline), words[i]);
        x += metrics.horizontalAdvance(words[i]) + gap;
    }
    painter.restore();
}

}  // namespace velmora::artwork
