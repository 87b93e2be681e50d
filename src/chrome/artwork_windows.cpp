// The other windows' pictures, in the default skin's palette: a light sky body, dark navy
// glass where text lies, cyan LEDs, and silver keys like the transport buttons.
#include "chrome/artwork_windows.h"

#include "chrome/artwork.h"
#include "chrome/artwork_paint.h"
#include "chrome/face_layout.h"

#include <QConicalGradient>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QSaveFile>
#include <QtMath>

#include <cmath>
#include <functional>

namespace velmora::artwork {
namespace {

using paint::insetRoundRect;
using paint::Lcg;

const QColor kBodyTop(0x78, 0xb4, 0xe8);
const QColor kBodyBottom(0xd6, 0xea, 0xf8);
const QColor kRim(0x2e, 0x5a, 0x85);
const QColor kGlassTop(0x10, 0x24, 0x3c);
const QColor kGlassBottom(0x0a, 0x18, 0x2a);
const QColor kDeep(0x05, 0x0e, 0x1a);
const QColor kKeyWell(0x12, 0x25, 0x3b);
const QColor kRecess(0x5e, 0x8f, 0xbf, 150);
const QColor kLogoShadow(0x1d, 0x4a, 0x7a, 170);
const QColor kNavy(0x1d, 0x4a, 0x7a);
const QColor kInk(0x1e, 0x2a, 0x38);
const QColor kInkDisabled(0xa0, 0xa6, 0xae);
const QColor kAccent(0x1f, 0x5c, 0xb0);

// The display colours of the default skin, so the LEDs here match the main window's.
const SkinColours& led() {
    static const SkinColours colours = skinColours(Skin::Cloud);
    return colours;
}

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

QImage canvas(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QFont uiFont(int pixels, bool bold, bool italic = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

void startPainter(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

QPainterPath stroked(const QPainterPath& path, double width, Qt::PenCapStyle cap = Qt::RoundCap) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(path);
}

// Text with spaced-out letters, centred on `centre`'s x, its baseline at centre's y.
void spacedText(QPainter& p, QPointF baseline, const QString& text, const QFont& font, double spacing) {
    QFont spaced = font;
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    const double width = QFontMetricsF(spaced).horizontalAdvance(text) - spacing;
    p.setFont(spaced);
    p.drawText(QPointF(baseline.x() - width / 2, baseline.y()), text);
}

// The "Velmora" name as the skins print it: bold italic, a soft shadow under it.
void wordmark(QPainter& p, const QRectF& box, int pixels, const QColor& colour, const QColor& shadow) {
    p.setFont(uiFont(pixels, true, true));
    p.setPen(shadow);
    p.drawText(box.translated(1, 1), Qt::AlignCenter, QStringLiteral("Velmora"));
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, QStringLiteral("Velmora"));
}

// Dark glass like the main window's display: a sunken bezel, a shadow under the top edge,
// a faint reflection and LCD scan lines.
void paintGlass(QPainter& p, const QRectF& r, double radius) {
    QLinearGradient bezel(0, r.top() - 3, 0, r.bottom() + 3);
    bezel.setColorAt(0, QColor(0, 0, 0, 150));
    bezel.setColorAt(1, QColor(255, 255, 255, 130));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawRoundedRect(r.adjusted(-2.5, -2.5, 2.5, 2.5), radius + 2, radius + 2);

    QPainterPath well;
    well.addRoundedRect(r, radius, radius);
    QLinearGradient fill(0, r.top(), 0, r.bottom());
    fill.setColorAt(0, kGlassTop);
    fill.setColorAt(1, kGlassBottom);
    p.setBrush(fill);
    p.drawPath(well);

    p.save();
    p.setClipPath(well);
    QLinearGradient shadow(0, r.top(), 0, r.top() + 7);
    shadow.setColorAt(0, QColor(0, 0, 0, 120));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(r, shadow);
    const double reach = qMin(r.width() * 0.55, 250.0);
    QPainterPath glare;
    glare.moveTo(r.topLeft());
    glare.lineTo(r.left() + reach, r.top());
    glare.lineTo(r.left() + reach * 0.68, r.bottom());
    glare.lineTo(r.bottomLeft());
    glare.closeSubpath();
    QLinearGradient glareFill(r.topLeft(), QPointF(r.left() + reach * 0.8, r.bottom()));
    glareFill.setColorAt(0, QColor(255, 255, 255, 16));
    glareFill.setColorAt(1, QColor(255, 255, 255, 2));
    p.setBrush(glareFill);
    p.drawPath(glare);
    p.setPen(QColor(0, 0, 0, 40));
    for (int y = int(r.top()) + 1; y < r.bottom(); y += 2)
        p.drawLine(QPointF(r.left(), y + 0.5), QPointF(r.right(), y + 0.5));
    p.restore();
}

// Soft white puffs like the cloud skin's, scattered over `area` from a fixed seed.
void paintClouds(QPainter& p, const QRectF& area, int clouds, quint32 seed, double scale) {
    Lcg rng{seed};
    p.setPen(Qt::NoPen);
    for (int c = 0; c < clouds; ++c) {
        const QPointF at(area.left() + rng.unit() * area.width(), area.top() + rng.unit() * area.height());
        const double size = scale * (0.7 + rng.unit() * 0.6);
        for (int i = 0; i < 5; ++i) {
            const QPointF puff =
                at + QPointF((i - 2) * 11 * size + (rng.unit() - 0.5) * 6, (rng.unit() - 0.7) * 8 * size);
            const double radius = (10 + rng.unit() * 9) * size;
            QRadialGradient g(puff, radius);
            g.setColorAt(0.0, QColor(255, 255, 255, 170));
            g.setColorAt(0.55, QColor(255, 255, 255, 95));
            g.setColorAt(1.0, QColor(255, 255, 255, 0));
            p.setBrush(g);
            p.drawEllipse(puff, radius, radius);
        }
    }
}

// Silver keys, as on the transport row: raised, pressed, or flat and grey when disabled.
enum class Key { Up, Down, Off };

Key keyOf(bool enabled, bool pressed) { return !enabled ? Key::Off : pressed ? Key::Down : Key::Up; }

void paintKey(QPainter& p, const QRectF& r, double radius, Key key) {
    QLinearGradient fill(0, r.top(), 0, r.bottom());
    QColor rim;
    switch (key) {
    case Key::Up:
        fill.setColorAt(0, QColor(0xfc, 0xfd, 0xfe));
        fill.setColorAt(0.45, QColor(0xe4, 0xe8, 0xed));
        fill.setColorAt(1, QColor(0xb4, 0xbc, 0xc6));
        rim = QColor(0x3e, 0x4a, 0x58);
        break;
    case Key::Down:
        fill.setColorAt(0, QColor(0xa9, 0xb1, 0xbc));
        fill.setColorAt(1, QColor(0xd8, 0xdd, 0xe3));
        rim = QColor(0x2a, 0x34, 0x40);
        break;
    case Key::Off:
        fill.setColorAt(0, QColor(0xe0, 0xe3, 0xe6));
        fill.setColorAt(1, QColor(0xc8, 0xcc, 0xd1));
        rim = QColor(0x9a, 0xa2, 0xac);
        break;
    }
    const QRectF face = r.adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(rim, 1));
    p.setBrush(fill);
    p.drawRoundedRect(face, radius, radius);
    p.setPen(Qt::NoPen);
    const double inset = qMax(radius, 3.0);
    if (key == Key::Up) {
        // A gloss line under the top edge and a soft shadow above the bottom one.
        p.fillRect(QRectF(r.left() + inset, r.top() + 1.5, r.width() - 2 * inset, 1), QColor(255, 255, 255, 200));
        p.fillRect(QRectF(r.left() + inset - 1, r.bottom() - 2.5, r.width() - 2 * inset + 2, 1),
                   QColor(0x70, 0x7a, 0x88, 70));
    } else if (key == Key::Down) {
        p.fillRect(QRectF(r.left() + inset - 1, r.top() + 1.5, r.width() - 2 * inset + 2, 1),
                   QColor(0x50, 0x5a, 0x68, 90));
    }
}

QColor inkOf(Key key) { return key == Key::Off ? kInkDisabled : kInk; }

// A glyph pressed into the key: a light edge under it, then the ink.
void engrave(QPainter& p, const QPainterPath& shape, Key key) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, key == Key::Off ? 140 : 200));
    p.drawPath(shape.translated(0, 1));
    p.setBrush(inkOf(key));
    p.drawPath(shape);
}

void engraveText(QPainter& p, const QRectF& box, const QString& text, const QFont& font, Key key) {
    p.setFont(font);
    p.setPen(QColor(255, 255, 255, key == Key::Off ? 140 : 200));
    p.drawText(box.translated(0, 1), Qt::AlignCenter, text);
    p.setPen(inkOf(key));
    p.drawText(box, Qt::AlignCenter, text);
}

// Glyphs, each drawn into a square of side s round a centre.
QPainterPath exitGlyph(QPointF c, double s) {
    QPainterPath door;
    door.moveTo(c.x() - 0.08 * s, c.y() - 0.42 * s);
    door.lineTo(c.x() - 0.42 * s, c.y() - 0.42 * s);
    door.lineTo(c.x() - 0.42 * s, c.y() + 0.42 * s);
    door.lineTo(c.x() - 0.08 * s, c.y() + 0.42 * s);
    QPainterPath arrow;
    arrow.moveTo(c.x() - 0.18 * s, c.y());
    arrow.lineTo(c.x() + 0.40 * s, c.y());
    arrow.moveTo(c.x() + 0.16 * s, c.y() - 0.24 * s);
    arrow.lineTo(c.x() + 0.42 * s, c.y());
    arrow.lineTo(c.x() + 0.16 * s, c.y() + 0.24 * s);
    QPainterPath glyph = stroked(door, 0.12 * s).united(stroked(arrow, 0.14 * s));
    return glyph;
}

QPainterPath crossGlyph(QPointF c, double s) {
    QPainterPath cross;
    const double d = 0.30 * s;
    cross.moveTo(c.x() - d, c.y() - d);
    cross.lineTo(c.x() + d, c.y() + d);
    cross.moveTo(c.x() + d, c.y() - d);
    cross.lineTo(c.x() - d, c.y() + d);
    return stroked(cross, 0.17 * s);
}

// An arrow going into a list of titles.
QPainterPath mergeGlyph(QPointF c, double s) {
    QPainterPath lines;
    for (double dy : {-0.34, 0.0, 0.34}) {
        lines.moveTo(c.x() + 0.10 * s, c.y() + dy * s);
        lines.lineTo(c.x() + 0.50 * s, c.y() + dy * s);
    }
    QPainterPath arrow;
    arrow.moveTo(c.x() - 0.52 * s, c.y());
    arrow.lineTo(c.x() - 0.06 * s, c.y());
    arrow.moveTo(c.x() - 0.26 * s, c.y() - 0.22 * s);
    arrow.lineTo(c.x() - 0.04 * s, c.y());
    arrow.lineTo(c.x() - 0.26 * s, c.y() + 0.22 * s);
    return stroked(lines, 0.13 * s, Qt::FlatCap).united(stroked(arrow, 0.14 * s));
}

// A blue globe of radius r with its grid.
void paintGlobe(QPainter& p, QPointF c, double r, double line) {
    QRadialGradient sea(c - QPointF(r * 0.35, r * 0.4), r * 1.5);
    sea.setColorAt(0, QColor(0x9c, 0xd2, 0xff));
    sea.setColorAt(0.6, QColor(0x3a, 0x7c, 0xd0));
    sea.setColorAt(1, kAccent);
    p.setPen(QPen(QColor(0x12, 0x30, 0x5f), line));
    p.setBrush(sea);
    p.drawEllipse(c, r, r);
    p.save();
    QPainterPath inside;
    inside.addEllipse(c, r, r);
    p.setClipPath(inside);
    p.setPen(QPen(QColor(255, 255, 255, 170), line * 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r * 0.45, r);
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    for (double dy : {-0.5, 0.5}) {
        const double half = r * std::sqrt(1 - dy * dy);
        p.drawLine(QPointF(c.x() - half, c.y() + dy * r), QPointF(c.x() + half, c.y() + dy * r));
    }
    p.restore();
}

// A tall key with a glyph above a caption, 57 x 41.
QPixmap captionKey(const QString& caption, bool pressed, const std::function<void(QPainter&, QPointF, Key)>& glyph) {
    QImage image = canvas(57, 41);
    QPainter p(&image);
    startPainter(p);
    const Key key = keyOf(true, pressed);
    paintKey(p, QRectF(image.rect()), 8, key);
    const double sink = pressed ? 1 : 0;
    glyph(p, QPointF(28.5, 16 + sink), key);
    engraveText(p, QRectF(2, 27 + sink, 53, 11), caption, uiFont(10, true), key);
    p.end();
    return QPixmap::fromImage(image);
}

// A wide key: glyph and caption side by side, centred together in `face`.
QPixmap wideKey(QSize size, const QRectF& face, const QString& caption, Key key,
                QPainterPath (*glyph)(QPointF, double)) {
    QImage image = canvas(size.width(), size.height());
    QPainter p(&image);
    startPainter(p);
    paintKey(p, face, 7, key);
    const QFont font = uiFont(11, true);
    const double glyphSize = qRound(face.height() * 0.5);
    const double gap = 6;
    const double textWidth = QFontMetricsF(font).horizontalAdvance(caption);
    const double left = face.center().x() - (glyphSize + gap + textWidth) / 2;
    const double sink = key == Key::Down ? 1 : 0;
    const double middle = face.center().y() + sink;
    engrave(p, glyph(QPointF(left + glyphSize / 2, middle), glyphSize), key);
    engraveText(p, QRectF(left + glyphSize + gap, face.top() + sink, textWidth + 2, face.height()), caption, font, key);
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap exitKey(const QString& caption, bool pressed) {
    return wideKey({125, 25}, QRectF(0, 0, 125, 25), caption, keyOf(true, pressed), exitGlyph);
}

// The disc database emblem on a light badge that fills `size`.
QPixmap databaseBadge(QSize size) {
    const double w = size.width();
    const double h = size.height();
    QImage image = canvas(size.width(), size.height());
    QPainter p(&image);
    startPainter(p);
    const double radius = h * 0.16;
    QLinearGradient face(0, 0, 0, h);
    face.setColorAt(0, QColor(0xff, 0xff, 0xff));
    face.setColorAt(0.55, QColor(0xec, 0xf2, 0xf8));
    face.setColorAt(1, QColor(0xc4, 0xd2, 0xe0));
    p.setPen(QPen(QColor(0x3e, 0x4a, 0x58), 1));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), radius, radius);
    p.fillRect(QRectF(radius, 1.5, w - 2 * radius, 1), QColor(255, 255, 255, 220));

    // The disc, with the database drum standing in front of its right half.
    const int discSize = int(h * 0.6);
    const QPointF discAt(std::round(w * 0.42 - discSize / 2.0), std::round(h * 0.05));
    p.drawPixmap(discAt, trayIconPixmap(discSize));
    const double drumW = h * 0.30;
    const double drumH = h * 0.38;
    const double drumX = discAt.x() + discSize * 0.72;
    const double drumY = discAt.y() + discSize - drumH + h * 0.03;
    const double lid = drumW * 0.34;  // height of the ellipses
    QPainterPath drum;
    drum.moveTo(drumX, drumY + lid / 2);
    drum.lineTo(drumX, drumY + drumH - lid / 2);
    drum.arcTo(QRectF(drumX, drumY + drumH - lid, drumW, lid), 180, 180);
    drum.lineTo(drumX + drumW, drumY + lid / 2);
    drum.arcTo(QRectF(drumX, drumY, drumW, lid), 0, 180);
    drum.closeSubpath();
    p.setPen(QPen(Qt::white, 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(drum);
    QLinearGradient metal(drumX, 0, drumX + drumW, 0);
    metal.setColorAt(0, QColor(0x1a, 0x4e, 0x98));
    metal.setColorAt(0.4, QColor(0x5c, 0x9c, 0xe4));
    metal.setColorAt(1, QColor(0x16, 0x44, 0x88));
    const QColor edge(0x10, 0x2c, 0x58);
    p.setPen(QPen(edge, 0.9));
    p.setBrush(metal);
    p.drawPath(drum);
    p.setBrush(Qt::NoBrush);
    for (int band = 1; band <= 2; ++band) {  // the drum's stacked platters
        const double y = drumY + (drumH - lid) * band / 3.0;
        QPainterPath arc;
        arc.arcMoveTo(QRectF(drumX, y, drumW, lid), 180);
        arc.arcTo(QRectF(drumX, y, drumW, lid), 180, 180);
        p.setPen(QPen(QColor(0xd0, 0xe6, 0xff, 200), 0.9));
        p.drawPath(arc);
    }
    p.setPen(QPen(edge, 0.9));
    p.setBrush(QColor(0xa6, 0xd2, 0xff));
    p.drawEllipse(QRectF(drumX, drumY, drumW, lid));

    QFont font = uiFont(qRound(h * 0.27), true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    p.setFont(font);
    const QRectF letters(0, h * 0.66, w, h * 0.30);
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(letters.translated(0, 1), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("CDDB"));
    p.setPen(kNavy);
    p.drawText(letters, Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("CDDB"));
    p.end();
    return QPixmap::fromImage(image);
}

// The two LED digits of a track number in their well, as on the main window.
void paintTrackReadout(QPainter& p, QPointF at, int track, QSizeF digit) {
    const QRectF well(at, QSizeF(digit.width() * 2 + 8, digit.height() + 5));
    insetRoundRect(p, well, 3, kDeep, QColor(255, 255, 255, 26), QColor(0, 0, 0, 120));
    for (int i = 0; i < 2; ++i) {
        const QRect box(qRound(at.x() + 3 + i * (digit.width() + 2)), qRound(at.y() + 2), qRound(digit.width()),
                        qRound(digit.height()));
        drawLedDigit(p, box, i == 0 ? track / 10 : track % 10, led().ledOn, led().ledOff);
    }
}

}  // namespace

QPixmap editorBackground() {
    QImage image = canvas(477, 467);
    QPainter p(&image);
    startPainter(p);
    // The window's outline: the ellipse in (5,0)-(468,468).
    const QPointF c(236.5, 234);
    const double rx = 231.5;
    const double ry = 234;
    auto ring = [&](double inset) {
        QPainterPath e;
        e.addEllipse(c, rx - inset, ry - inset);
        return e;
    };
    auto circle = [&](double r) {
        QPainterPath e;
        e.addEllipse(c, r, r);
        return e;
    };
    // A little past the outline, so the cut edge shows no seam.
    const QPainterPath disc = ring(-0.8);
    QRadialGradient base(c + QPointF(-70, -90), 360);
    base.setColorAt(0, QColor(0x1a, 0x36, 0x56));
    base.setColorAt(0.5, kGlassTop);
    base.setColorAt(1, kDeep);
    p.setPen(Qt::NoPen);
    p.setBrush(base);
    p.drawPath(disc);

    // The recorded area: a faint rainbow sheen, two glints and fine grooves.
    const QPainterPath data = ring(9).subtracted(circle(42));
    QConicalGradient sheen(c, 30);
    const QColor hues[] = {QColor(80, 200, 255, 30), QColor(255, 90, 220, 22), QColor(255, 230, 80, 24),
                           QColor(90, 255, 150, 20)};
    for (int i = 0; i <= 8; ++i) sheen.setColorAt(i / 8.0, hues[i % 4]);
    p.setBrush(sheen);
    p.drawPath(data);
    p.setBrush(QColor(255, 255, 255, 9));
    for (double angle : {-50.0, 130.0}) {
        QPainterPath glint;
        glint.moveTo(c);
        glint.arcTo(QRectF(c.x() - rx, c.y() - ry, 2 * rx, 2 * ry), angle - 7, 14);
        glint.closeSubpath();
        p.drawPath(glint.intersected(data));
    }
    p.setBrush(Qt::NoBrush);
    for (int r = 46, i = 0; r < 222; r += 3, ++i) {
        p.setPen(QPen(withAlpha(led().caption, i % 3 == 0 ? 13 : 7), 1));
        p.drawEllipse(c, r * rx / ry, double(r));
    }
    p.setPen(QPen(withAlpha(led().caption, 34), 1));
    p.drawEllipse(c, 43.0, 43.0);
    p.drawPath(ring(10));

    // The hub: a clear ring round the hole.
    QRadialGradient hub(c - QPointF(6, 8), 24);
    hub.setColorAt(0, QColor(0x24, 0x44, 0x68));
    hub.setColorAt(1, QColor(0x10, 0x22, 0x38));
    p.setPen(QPen(withAlpha(led().caption, 110), 1));
    p.setBrush(hub);
    p.drawEllipse(c, 19.0, 19.0);
    p.setPen(QPen(QColor(255, 255, 255, 30), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 14.0, 14.0);
    p.setPen(QPen(QColor(0, 0, 0, 170), 1.5));
    p.setBrush(QColor(0x01, 0x04, 0x09));
    p.drawEllipse(c, 7.5, 7.5);
    QPainterPath lip;
    lip.arcMoveTo(QRectF(c.x() - 7.5, c.y() - 7.5, 15, 15), 200);
    lip.arcTo(QRectF(c.x() - 7.5, c.y() - 7.5, 15, 15), 200, 120);
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.drawPath(lip);

    // A light pipe just inside the rim, then the rim itself: dark, with a highlight
    // along its upper left.
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(withAlpha(led().ledOn, 22 - 7 * i), 2));
        p.drawPath(ring(4.5 + 2 * i));
    }
    p.setPen(QPen(kRim, 3.2));
    p.drawPath(ring(1.6));
    QConicalGradient shine(c, 135);
    shine.setColorAt(0, QColor(0xb8, 0xdc, 0xf8, 200));
    shine.setColorAt(0.22, QColor(0xb8, 0xdc, 0xf8, 0));
    shine.setColorAt(0.78, QColor(0xb8, 0xdc, 0xf8, 0));
    shine.setColorAt(1, QColor(0xb8, 0xdc, 0xf8, 200));
    p.setPen(QPen(QBrush(shine), 1));
    p.drawPath(ring(1.0));
    p.setPen(QPen(QColor(0, 0, 0, 120), 1));
    p.drawPath(ring(3.6));

    // A caption at the top, a rule between the disc's fields and its tracks.
    p.setPen(withAlpha(led().caption, 210));
    spacedText(p, QPointF(c.x(), 22), QStringLiteral("TRACK LIST"), uiFont(9, true), 2.2);
    QLinearGradient rule(40, 0, 433, 0);
    rule.setColorAt(0, withAlpha(led().caption, 0));
    rule.setColorAt(0.5, withAlpha(led().caption, 90));
    rule.setColorAt(1, withAlpha(led().caption, 0));
    p.setPen(QPen(QBrush(rule), 1));
    p.drawLine(QPointF(40, 117.5), QPointF(433, 117.5));

    // Wells for the two keys, the name under them.
    for (const QRectF key : {QRectF(165, 395, 57, 41), QRectF(248, 395, 57, 41)})
        insetRoundRect(p, key.adjusted(-2, -2, 2, 2), 10, kKeyWell, QColor(255, 255, 255, 45), QColor(0, 0, 0, 110));
    wordmark(p, QRectF(c.x() - 60, 439, 120, 20), 14, QColor(0xe6, 0xf6, 0xff), kLogoShadow);
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap editorLocatePicture(bool pressed) {
    return captionKey(QStringLiteral("Locate"), pressed, [](QPainter& p, QPointF c, Key key) {
        paintGlobe(p, c - QPointF(2.5, 1), 8, 1);
        // A magnifier held over the globe.
        const QPointF lens = c + QPointF(3.5, 2.5);
        QPainterPath handle;
        handle.moveTo(lens + QPointF(4.2, 4.2));
        handle.lineTo(lens + QPointF(8.5, 8.5));
        engrave(p, stroked(handle, 3.2), key);
        p.setPen(QPen(inkOf(key), 2));
        p.setBrush(QColor(255, 255, 255, 80));
        p.drawEllipse(lens, 5.2, 5.2);
    });
}

QPixmap editorExitPicture(bool pressed) {
    return captionKey(QStringLiteral("Exit"), pressed,
                      [](QPainter& p, QPointF c, Key key) { engrave(p, exitGlyph(c, 19), key); });
}

QPixmap lookupBackground() {
    QImage image = canvas(500, 275);
    QPainter p(&image);
    startPainter(p);
    // The window's outline, a little past it so the cut edge shows no seam.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(-0.5, 7.5, 501, 243), 18, 18);
    QLinearGradient body(0, 8, 0, 250);
    body.setColorAt(0, kBodyTop);
    body.setColorAt(1, kBodyBottom);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawPath(outline);
    p.save();
    p.setClipPath(outline);
    paintClouds(p, QRectF(0, 200, 500, 50), 6, 11, 0.8);
    p.restore();

    // Frame: a dark rim, a light bevel inside it.
    QPainterPath rim;
    rim.addRoundedRect(QRectF(0.5, 8.5, 499, 241), 17, 17);
    p.setPen(QPen(kRim, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(rim);
    QPainterPath bevel;
    bevel.addRoundedRect(QRectF(1.5, 9.5, 497, 239), 16, 16);
    QLinearGradient bevelPen(0, 9, 0, 249);
    bevelPen.setColorAt(0, QColor(255, 255, 255, 210));
    bevelPen.setColorAt(1, QColor(0x4a, 0x7d, 0xb0, 200));
    p.setPen(QPen(QBrush(bevelPen), 1));
    p.drawPath(bevel);

    // The glass behind every label, with rules under the disc's lines and between the
    // two columns of tracks.
    paintGlass(p, QRectF(5, 12, 490, 189), 13);
    QLinearGradient rule(12, 0, 488, 0);
    rule.setColorAt(0, withAlpha(led().caption, 20));
    rule.setColorAt(0.5, withAlpha(led().caption, 80));
    rule.setColorAt(1, withAlpha(led().caption, 20));
    p.setPen(QPen(QBrush(rule), 1));
    p.drawLine(QPointF(12, 47.5), QPointF(488, 47.5));
    p.setPen(QPen(withAlpha(led().caption, 36), 1));
    p.drawLine(QPointF(252.5, 54), QPointF(252.5, 194));

    // The key row: a recess with a well for each key, the name and a plate for the logo.
    insetRoundRect(p, QRectF(14, 207, 324, 37), 10, kRecess, QColor(255, 255, 255, 60), QColor(0, 0, 0, 70));
    for (const QRectF key : {QRectF(44, 214, 138, 23), QRectF(235, 214, 108, 23).translated(-13, 0)})
        insetRoundRect(p, key.adjusted(-2, -2, 2, 2), 8.5, kKeyWell, QColor(255, 255, 255, 55), QColor(0, 0, 0, 60));
    wordmark(p, QRectF(340, 210, 88, 30), 15, Qt::white, kLogoShadow);
    insetRoundRect(p, QRectF(427, 197, 64, 46), 8, kRecess, QColor(255, 255, 255, 60), QColor(0, 0, 0, 70));
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap lookupMergePicture(bool enabled, bool pressed) {
    return wideKey({138, 23}, QRectF(0, 0, 138, 23), QStringLiteral("Merge Titles"), keyOf(enabled, pressed),
                   mergeGlyph);
}

QPixmap lookupCancelPicture(bool pressed) {
    return wideKey({138, 23}, QRectF(15, 0, 108, 23), QStringLiteral("Cancel"), keyOf(true, pressed), crossGlyph);
}

QPixmap cddbLogoSmall() { return databaseBadge({58, 40}); }

QPixmap cddbLogo() { return databaseBadge({64, 47}); }

QPixmap linkCursorPixmap() {
    QPixmap picture = transportCursorPixmap();
    QPainter p(&picture);
    startPainter(p);
    const QPointF c(25, 25);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(c, 7, 7);
    paintGlobe(p, c, 5.6, 1);
    return picture;
}

QCursor linkCursor() { return QCursor(linkCursorPixmap(), kLinkCursorHotSpot.x(), kLinkCursorHotSpot.y()); }

QPixmap settingsExitPicture(bool pressed) { return exitKey(QStringLiteral("Save & Exit"), pressed); }

QPixmap aboutExitPicture(bool pressed) { return exitKey(QStringLiteral("Close"), pressed); }

QPixmap skinPreviewPlaceholder(QSize size, qreal pixelRatio) {
    if (size.isEmpty()) return {};
    const double w = size.width();
    const double h = size.height();
    pixelRatio = qMax<qreal>(1, pixelRatio);
    QImage image((QSizeF(size) * pixelRatio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    QPainter p(&image);
    startPainter(p);
    QLinearGradient back(0, 0, 0, h);
    back.setColorAt(0, QColor(0xea, 0xf2, 0xfa));
    back.setColorAt(1, QColor(0xc6, 0xda, 0xee));
    p.fillRect(QRectF(0, 0, w, h), back);

    // A ghost of the player's face, as a skin would fill it.
    const double fontPx = qBound(9.0, h * 0.08, 16.0);
    const bool captioned = h >= 40 && w >= 90;
    const double room = captioned ? h - fontPx * 2.2 : h;
    const double scale = qMin(0.86 * w / face::kWidth, 0.82 * room / face::kHeight);
    const double fw = face::kWidth * scale;
    const double fh = face::kHeight * scale;
    p.save();
    p.translate((w - fw) / 2, (room - fh) / 2 + (captioned ? fontPx * 0.4 : 0));
    p.scale(scale, scale);
    const double hair = 1.0 / scale;
    const QColor ghost = withAlpha(kRim, 120);
    p.setPen(QPen(ghost, 1.2 * hair, Qt::DashLine));
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawRoundedRect(QRectF(0, 0, face::kWidth, face::kHeight), 8, 8);
    p.setPen(QPen(withAlpha(kRim, 70), hair));
    p.setBrush(withAlpha(kRim, 40));
    p.drawRoundedRect(QRectF(face::kDisplayPanel), 7, 7);
    p.setBrush(withAlpha(kRim, 60));
    for (int i = 0; i < 6; ++i) p.drawRoundedRect(QRectF(face::ledRect(i)), 2, 2);
    for (const QRect& key : {face::kBackTrack, face::kRR, face::kPlay, face::kFF, face::kForwardTrack, face::kStop,
                             face::kPause, face::kEject})
        p.drawRoundedRect(QRectF(key).adjusted(3, 3, -3, -3), 7, 7);
    p.drawEllipse(QRectF(face::kVolumeKnob));
    p.restore();

    if (captioned) {
        p.setFont(uiFont(qRound(fontPx), true));
        p.setPen(withAlpha(kNavy, 200));
        p.drawText(QRectF(0, h - fontPx * 2.2, w, fontPx * 1.8), Qt::AlignCenter, QStringLiteral("No skin preview"));
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(withAlpha(kRim, 150));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(0, 0, size.width() - 1, size.height() - 1));
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap tipIcon() {
    QImage image = canvas(32, 32);
    QPainter p(&image);
    startPainter(p);
    const QPointF c(16, 13);
    // Rays round the top half.
    p.setPen(QPen(QColor(0xf0, 0xa8, 0x10, 220), 1.6, Qt::SolidLine, Qt::RoundCap));
    for (double angle : {-90.0, -45.0, -135.0, 0.0, 180.0}) {
        const double a = qDegreesToRadians(angle);
        const QPointF dir(std::cos(a), std::sin(a));
        p.drawLine(c + dir * 10.5, c + dir * 13.5);
    }
    // The glass, narrowing into its neck.
    QPainterPath bulb;
    bulb.moveTo(12.2, 22);
    bulb.cubicTo(12.2, 18.5, 8.2, 17, 8.2, 12.5);
    bulb.cubicTo(8.2, 8, 11.8, 5, 16, 5);
    bulb.cubicTo(20.2, 5, 23.8, 8, 23.8, 12.5);
    bulb.cubicTo(23.8, 17, 19.8, 18.5, 19.8, 22);
    bulb.closeSubpath();
    QRadialGradient glass(QPointF(14, 10), 11);
    glass.setColorAt(0, QColor(0xff, 0xfd, 0xe8));
    glass.setColorAt(0.45, QColor(0xff, 0xe4, 0x60));
    glass.setColorAt(1, QColor(0xf0, 0xa8, 0x10));
    p.setPen(QPen(QColor(0x9a, 0x62, 0x00), 1.1));
    p.setBrush(glass);
    p.drawPath(bulb);
    // Filament and a glint.
    QPainterPath filament;
    filament.moveTo(14, 21);
    filament.lineTo(14, 15.5);
    filament.lineTo(15, 13.5);
    filament.lineTo(16, 15.5);
    filament.lineTo(17, 13.5);
    filament.lineTo(18, 15.5);
    filament.lineTo(18, 21);
    p.setPen(QPen(QColor(0xa8, 0x6a, 0x00, 200), 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawPath(filament);
    p.setPen(QPen(QColor(255, 255, 255, 220), 1.4, Qt::SolidLine, Qt::RoundCap));
    QPainterPath glint;
    glint.arcMoveTo(QRectF(10.5, 7.5, 11, 11), 110);
    glint.arcTo(QRectF(10.5, 7.5, 11, 11), 110, 55);
    p.drawPath(glint);
    // The screw base and its tip.
    QLinearGradient metal(12, 0, 20, 0);
    metal.setColorAt(0, QColor(0x8a, 0x94, 0xa2));
    metal.setColorAt(0.4, QColor(0xf0, 0xf3, 0xf6));
    metal.setColorAt(1, QColor(0x6a, 0x74, 0x82));
    p.setPen(QPen(QColor(0x3e, 0x4a, 0x58), 0.9));
    p.setBrush(metal);
    for (int i = 0; i < 3; ++i) p.drawRoundedRect(QRectF(12, 21.8 + i * 2.3, 8, 2.3), 1, 1);
    p.setBrush(QColor(0x3e, 0x4a, 0x58));
    p.drawRoundedRect(QRectF(14, 28.6, 4, 2), 1, 1);
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap aboutBackground() {
    QImage image(605, 313, QImage::Format_RGB32);
    QPainter p(&image);
    startPainter(p);
    const QRectF all(image.rect());
    QLinearGradient body(0, 0, 0, all.height());
    body.setColorAt(0, kBodyTop);
    body.setColorAt(1, kBodyBottom);
    p.fillRect(all, body);
    paintClouds(p, QRectF(230, -5, 380, 60), 5, 5, 0.9);
    QRadialGradient sun(QPointF(0, -20), 260);
    sun.setColorAt(0, QColor(255, 250, 220, 90));
    sun.setColorAt(1, QColor(255, 250, 220, 0));
    p.fillRect(all, sun);

    // The home page card, under the click area (20,20)-(221,196).
    const QRectF card(20, 20, 201, 176);
    paintGlass(p, card, 9);
    wordmark(p, QRectF(card.left(), 26, card.width(), 30), 24, QColor(0xe6, 0xf6, 0xff), QColor(0, 0, 0, 160));
    p.setPen(withAlpha(led().caption, 220));
    spacedText(p, QPointF(card.center().x(), 67), QStringLiteral("HOME PAGE"), uiFont(9, true), 2.4);
    // A disc with the LED readout beside it.
    p.drawPixmap(QPointF(34, 76), trayIconPixmap(64));
    p.setFont(uiFont(9, true));
    p.setPen(led().caption);
    p.drawText(QPointF(116, 86), QStringLiteral("Track"));
    paintTrackReadout(p, QPointF(114, 90), 1, QSizeF(17, 28));
    QPainterPath play;
    play.moveTo(170, 96);
    play.lineTo(170, 116);
    play.lineTo(186, 106);
    play.closeSubpath();
    p.setPen(QPen(withAlpha(led().ledOn, 60), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(led().ledOn);
    p.drawPath(play);
    const QRectF bar(114, 130, 92, 6);
    insetRoundRect(p, bar.adjusted(-1.5, -1.5, 1.5, 1.5), 2, kDeep, QColor(255, 255, 255, 26), QColor(0, 0, 0, 120));
    p.fillRect(QRectF(bar.left(), bar.top(), bar.width() * 0.62, bar.height()), led().barFill);
    // The invitation, drawn like a lit button.
    const QRectF invite(30, 148, 181, 38);
    p.setPen(QPen(withAlpha(led().ledOn, 150), 1));
    p.setBrush(withAlpha(led().ledOn, 22));
    p.drawRoundedRect(invite.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    p.setFont(uiFont(13, true));
    p.setPen(led().ledOn);
    p.drawText(QRectF(invite.left(), invite.top() + 3, invite.width(), 17), Qt::AlignCenter,
               QStringLiteral("Click here \u25B8"));
    p.setFont(uiFont(9, false));
    p.setPen(led().text);
    p.drawText(QRectF(invite.left(), invite.top() + 20, invite.width(), 14), Qt::AlignCenter,
               QStringLiteral("to visit Velmora's home page"));

    // The information card: the name, with room for the version line under it and the
    // disc database logo at its lower right.
    const QRectF info(236, 20, 354, 176);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawRoundedRect(info.adjusted(0.5, 0.5, -0.5, -0.5), 9, 9);
    p.setFont(uiFont(34, true, true));
    const QString name = QStringLiteral("Velmora");
    const double nameWidth = QFontMetricsF(p.font()).horizontalAdvance(name);
    p.setPen(QColor(255, 255, 255, 230));
    p.drawText(QPointF(254, 61), name);
    p.setPen(kNavy);
    p.drawText(QPointF(253, 60), name);
    p.setFont(uiFont(12, true));
    p.setPen(kRim);
    p.drawText(QPointF(253 + nameWidth + 12, 59), QStringLiteral("Audio CD Player"));
    QLinearGradient rule(254, 0, 572, 0);
    rule.setColorAt(0, withAlpha(kRim, 130));
    rule.setColorAt(1, withAlpha(kRim, 0));
    p.setPen(QPen(QBrush(rule), 1));
    p.drawLine(QPointF(254, 99.5), QPointF(572, 99.5));
    insetRoundRect(p, QRectF(506, 136, 72, 55), 8, withAlpha(kRim, 40), QColor(255, 255, 255, 150),
                   QColor(0, 0, 0, 40));
    // A faint disc pressed into the card's lower left.
    p.save();
    p.setClipRect(info.adjusted(1, 1, -1, -1));
    p.setBrush(Qt::NoBrush);
    for (int r = 20; r <= 120; r += 4) {
        p.setPen(QPen(withAlpha(kRim, r % 20 == 0 ? 26 : 12), 1));
        p.drawEllipse(QPointF(360, 230), double(r), double(r));
    }
    p.restore();

    // Notices lie below a rule across the window, the exit key in a well.
    p.setPen(QPen(withAlpha(kRim, 90), 1));
    p.drawLine(QPointF(20, 203.5), QPointF(585, 203.5));
    p.setPen(QPen(QColor(255, 255, 255, 170), 1));
    p.drawLine(QPointF(20, 204.5), QPointF(585, 204.5));
    insetRoundRect(p, QRectF(453, 263, 129, 29), 9, kRecess, QColor(255, 255, 255, 60), QColor(0, 0, 0, 70));
    // A thin bevel round the whole picture.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(255, 255, 255, 150));
    p.drawLine(0, 0, 604, 0);
    p.drawLine(0, 0, 0, 312);
    p.setPen(withAlpha(kRim, 160));
    p.drawLine(1, 312, 604, 312);
    p.drawLine(604, 1, 604, 312);
    p.end();
    return QPixmap::fromImage(image);
}

std::vector<std::pair<QString, QImage>> windowPictures() {
    std::vector<std::pair<QString, QImage>> pictures;
    auto add = [&pictures](const char* name, const QPixmap& picture) {
        pictures.emplace_back(QString::fromLatin1(name), picture.toImage());
    };
    add("editor_background.png", editorBackground());
    add("editor_locate.png", editorLocatePicture());
    add("editor_locate_pressed.png", editorLocatePicture(true));
    add("editor_exit.png", editorExitPicture());
    add("editor_exit_pressed.png", editorExitPicture(true));
    add("lookup_background.png", lookupBackground());
    add("lookup_merge.png", lookupMergePicture(true));
    add("lookup_merge_pressed.png", lookupMergePicture(true, true));
    add("lookup_merge_disabled.png", lookupMergePicture(false));
    add("lookup_cancel.png", lookupCancelPicture());
    add("lookup_cancel_pressed.png", lookupCancelPicture(true));
    add("cddb_logo_small.png", cddbLogoSmall());
    add("cddb_logo.png", cddbLogo());
    add("link_cursor.png", linkCursorPixmap());
    add("settings_exit.png", settingsExitPicture());
    add("settings_exit_pressed.png", settingsExitPicture(true));
    add("skin_preview_placeholder.png", skinPreviewPlaceholder({face::kSkinWidth, face::kSkinHeight}));
    add("tip_icon.png", tipIcon());
    add("about_background.png", aboutBackground());
    add("about_exit.png", aboutExitPicture());
    add("about_exit_pressed.png", aboutExitPicture(true));
    return pictures;
}

bool writeWindowPictures(const QString& folder, QString* error) {
    if (!QDir().mkpath(folder)) {
        if (error) *error = QStringLiteral("cannot create the folder %1").arg(folder);
        return false;
    }
    for (const auto& [name, picture] : windowPictures()) {
        const QString path = QDir(folder).filePath(name);
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit()) {
            if (error) *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
            return false;
        }
    }
    return true;
}

}  // namespace velmora::artwork
