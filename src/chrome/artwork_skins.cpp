// The skins: one drawing of the face's structure (frame, display, wells, logo) that every
// skin shares, so all of them match the control places, with a palette and a body texture
// of each skin's own.
#include "chrome/artwork.h"
#include "chrome/artwork_paint.h"
#include "chrome/face_layout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSaveFile>
#include <QtMath>

#include <cmath>

namespace velmora::artwork {
namespace {

using paint::insetRoundRect;
using paint::Lcg;

enum class Texture { Slate, Clouds, Stars, Brushed };

struct Theme {
    Texture texture;
    QColor bodyTop, bodyBottom;
    QColor rim, bevelLight, bevelDark;
    QColor wellTop, wellBottom;  // display panel
    QColor digitWell;            // behind the LED digits and the position bar
    QColor recess;               // transport row and chrome strip
    QColor keyWell;              // right behind each transport key
    QColor logo, logoShadow;
    QColor accent;
    QColor plate;  // the setup area's plate
    SkinColours colours;
};

Theme themeOf(Skin skin) {
    switch (skin) {
    case Skin::Cloud:
        return {Texture::Clouds,
                QColor(0x78, 0xb4, 0xe8),
                QColor(0xd6, 0xea, 0xf8),
                QColor(0x2e, 0x5a, 0x85),
                QColor(255, 255, 255, 210),
                QColor(0x4a, 0x7d, 0xb0, 200),
                QColor(0x10, 0x24, 0x3c),
                QColor(0x0a, 0x18, 0x2a),
                QColor(0x05, 0x0e, 0x1a),
                QColor(0x5e, 0x8f, 0xbf, 150),
                QColor(0x12, 0x25, 0x3b),
                QColor(255, 255, 255),
                QColor(0x1d, 0x4a, 0x7a, 170),
                QColor(0xff, 0xff, 0xff),
                QColor(0x1d, 0x4a, 0x7a, 120),
                {QColor(0xa8, 0xec, 0xff), QColor(0xa8, 0xec, 0xff, 26), QColor(0xe6, 0xf6, 0xff),
                 QColor(0x8c, 0xc4, 0xe6), QColor(0x7f, 0xdc, 0xff), QColor(0x16, 0x3a, 0x60)}};
    case Skin::Midnight:
        return {Texture::Stars,
                QColor(0x26, 0x2c, 0x5a),
                QColor(0x12, 0x15, 0x30),
                QColor(0x04, 0x05, 0x0c),
                QColor(0x8a, 0x94, 0xe0, 150),
                QColor(0x02, 0x03, 0x08, 220),
                QColor(0x06, 0x07, 0x10),
                QColor(0x02, 0x02, 0x06),
                QColor(0x00, 0x00, 0x02),
                QColor(0x05, 0x06, 0x14, 190),
                QColor(0x00, 0x00, 0x04),
                QColor(0xdd, 0xe2, 0xff),
                QColor(0x6a, 0x4c, 0xd8, 190),
                QColor(0xb0, 0x8c, 0xff),
                QColor(0x9a, 0x8c, 0xff, 38),
                {QColor(0xc6, 0x9c, 0xff), QColor(0xc6, 0x9c, 0xff, 24), QColor(0xe4, 0xdc, 0xff),
                 QColor(0x8e, 0x80, 0xc8), QColor(0xb0, 0x84, 0xff), QColor(0xc8, 0xcc, 0xf0)}};
    case Skin::Brushed:
        return {Texture::Brushed,
                QColor(0xd4, 0xd7, 0xdb),
                QColor(0x9c, 0xa1, 0xa8),
                QColor(0x3c, 0x40, 0x46),
                QColor(255, 255, 255, 220),
                QColor(0x50, 0x55, 0x5c, 200),
                QColor(0x16, 0x12, 0x0a),
                QColor(0x0c, 0x09, 0x05),
                QColor(0x05, 0x03, 0x01),
                QColor(0x55, 0x5a, 0x62, 150),
                QColor(0x1a, 0x1c, 0x20),
                QColor(0x2c, 0x30, 0x36),
                QColor(255, 255, 255, 200),
                QColor(0xe0, 0x8a, 0x1c),
                QColor(0, 0, 0, 22),
                {QColor(0xff, 0xb4, 0x3c), QColor(0xff, 0xb4, 0x3c, 24), QColor(0xff, 0xd8, 0x9c),
                 QColor(0xc8, 0x96, 0x50), QColor(0xff, 0xa8, 0x2c), QColor(0x2c, 0x30, 0x36)}};
    case Skin::BuiltIn:
        break;
    }
    return {Texture::Slate,
            QColor(0x66, 0x6d, 0x78),
            QColor(0x3a, 0x3f, 0x47),
            QColor(0x0e, 0x10, 0x13),
            QColor(0xa8, 0xb0, 0xbc, 150),
            QColor(0x08, 0x09, 0x0b, 210),
            QColor(0x12, 0x08, 0x08),
            QColor(0x08, 0x03, 0x03),
            QColor(0x03, 0x00, 0x00),
            QColor(0x14, 0x16, 0x1a, 170),
            QColor(0x05, 0x06, 0x07),
            QColor(0xee, 0xf0, 0xf3),
            QColor(0x00, 0x00, 0x00, 170),
            QColor(0xff, 0x5a, 0x3c),
            QColor(255, 255, 255, 18),
            {QColor(0xff, 0x4e, 0x38), QColor(0xff, 0x4e, 0x38, 26), QColor(0xff, 0xd6, 0xcc), QColor(0xc8, 0x7a, 0x70),
             QColor(0xff, 0x5a, 0x3c), QColor(0xd8, 0xdc, 0xe2)}};
}

void paintClouds(QPainter& p, const QRect& r) {
    // Puffs are clusters of soft white discs; a cloud is several puffs side by side.
    struct Cloud {
        double x, y, scale;
    };
    const Cloud clouds[] = {{60, 8, 1.0},    {190, 4, 0.8}, {300, 14, 1.1}, {420, 150, 0.9}, {110, 160, 1.0},
                            {250, 158, 1.2}, {380, 4, 0.7}, {-5, 120, 0.9}, {470, 70, 1.0},  {5, 40, 0.6}};
    Lcg rng{7};
    p.setPen(Qt::NoPen);
    for (const Cloud& c : clouds) {
        for (int i = 0; i < 6; ++i) {
            const double dx = (i - 2.5) * 11 * c.scale + (rng.unit() - 0.5) * 6;
            const double dy = (rng.unit() - 0.7) * 8 * c.scale;
            const double radius = (10 + rng.unit() * 9) * c.scale;
            QRadialGradient g(QPointF(c.x + dx, c.y + dy), radius);
            g.setColorAt(0.0, QColor(255, 255, 255, 200));
            g.setColorAt(0.55, QColor(255, 255, 255, 120));
            g.setColorAt(1.0, QColor(255, 255, 255, 0));
            p.setBrush(g);
            p.drawEllipse(QPointF(c.x + dx, c.y + dy), radius, radius);
        }
    }
    // A sun glow at the top left.
    QRadialGradient sun(QPointF(r.left() + 10, r.top() - 10), 160);
    sun.setColorAt(0, QColor(255, 250, 220, 110));
    sun.setColorAt(1, QColor(255, 250, 220, 0));
    p.setBrush(sun);
    p.drawRect(r);
}

void paintStars(QPainter& p, const QRect& r) {
    p.setPen(Qt::NoPen);
    QRadialGradient nebula(QPointF(r.width() * 0.72, r.height() * 0.15), 220);
    nebula.setColorAt(0, QColor(0x8a, 0x50, 0xd0, 70));
    nebula.setColorAt(0.5, QColor(0x40, 0x30, 0x90, 30));
    nebula.setColorAt(1, QColor(0, 0, 0, 0));
    p.setBrush(nebula);
    p.drawRect(r);
    Lcg rng{2024};
    for (int i = 0; i < 260; ++i) {
        const double x = rng.unit() * r.width();
        const double y = rng.unit() * r.height();
        const double bright = rng.unit();
        const int alpha = 60 + int(bright * bright * 190);
        const double size = bright > 0.93 ? 1.6 : bright > 0.7 ? 1.1 : 0.8;
        p.setBrush(QColor(220, 225, 255, alpha));
        p.drawEllipse(QPointF(x, y), size / 2, size / 2);
        if (bright > 0.97) {  // a few twinkling crosses
            p.setBrush(QColor(220, 225, 255, 70));
            p.drawRect(QRectF(x - 3, y - 0.4, 6, 0.8));
            p.drawRect(QRectF(x - 0.4, y - 3, 0.8, 6));
        }
    }
}

void paintBrushed(QImage& image) {
    // Horizontal grain: each row gets its own small brightness offset, smeared a little.
    Lcg rng{99};
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const int rowShift = int(rng.unit() * 14) - 7;
        int grain = 0;
        for (int x = 0; x < w; ++x) {
            if ((x & 7) == 0) grain = int(rng.unit() * 8) - 4;
            const int d = rowShift + grain;
            const QRgb c = line[x];
            line[x] =
                qRgb(qBound(0, qRed(c) + d, 255), qBound(0, qGreen(c) + d, 255), qBound(0, qBlue(c) + d + 1, 255));
        }
    }
}

void paintSlate(QPainter& p, const QRect& r) {
    // Fine diagonal hatching, like a textured plastic.
    p.setPen(QPen(QColor(255, 255, 255, 9), 1));
    for (int x = -r.height(); x < r.width(); x += 3) p.drawLine(x, r.height(), x + r.height(), 0);
    QLinearGradient sheen(0, 0, 0, r.height());
    sheen.setColorAt(0, QColor(255, 255, 255, 28));
    sheen.setColorAt(0.3, QColor(255, 255, 255, 0));
    p.fillRect(r, sheen);
}

void paintGear(QPainter& p, QPointF centre, double outer, double inner, int teeth, const QColor& colour) {
    QPainterPath gear;
    const int steps = teeth * 4;
    for (int i = 0; i < steps; ++i) {
        const double a = 2 * M_PI * i / steps;
        const double radius = (i % 4 < 2) ? outer : inner;
        const QPointF pt(centre.x() + radius * std::cos(a - M_PI / steps),
                         centre.y() + radius * std::sin(a - M_PI / steps));
        if (i == 0) gear.moveTo(pt);
        else gear.lineTo(pt);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(centre, inner * 0.42, inner * 0.42);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(gear.subtracted(hole));
}

void paintLogo(QPainter& p, const Theme& t) {
    const QRectF area = face::kSetup;
    // The plate tells the user this corner is a button.
    p.setPen(QPen(QColor(t.logo.red(), t.logo.green(), t.logo.blue(), 45), 1));
    p.setBrush(t.plate);
    p.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);

    const QPointF gearCentre(area.left() + 11, area.center().y());
    paintGear(p, gearCentre + QPointF(0.8, 0.8), 7.5, 5.6, 8, t.logoShadow);
    paintGear(p, gearCentre, 7.5, 5.6, 8, t.logo);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setItalic(true);
    font.setPixelSize(15);
    const QString name = QStringLiteral("Velmora");
    const double room = area.right() - (area.left() + 22) - 1;
    const QFontMetricsF metrics(font);
    if (metrics.horizontalAdvance(name) > room) {
        font.setPixelSize(qMax(8, int(15 * room / metrics.horizontalAdvance(name))));
    }
    p.setFont(font);
    const QRectF textArea(area.left() + 22, area.top(), room, area.height());
    p.setPen(t.logoShadow);
    p.drawText(textArea.translated(1, 1), Qt::AlignCenter, name);
    p.setPen(t.logo);
    p.drawText(textArea, Qt::AlignCenter, name);
}

void paintFrame(QPainter& p, const Theme& t) {
    // The last skin row lies under the window's bottom edge, so the frame closes at row 160.
    const int right = face::kSkinWidth - 1;
    const int bottom = face::kHeight - 1;
    p.setPen(Qt::NoPen);
    p.fillRect(QRect(0, bottom, face::kSkinWidth, face::kSkinHeight - bottom), t.rim);
    p.setPen(t.rim);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(0, 0, right, bottom));
    p.setPen(t.bevelLight);
    p.drawLine(1, 1, right - 1, 1);
    p.drawLine(1, 1, 1, bottom - 1);
    p.setPen(t.bevelDark);
    p.drawLine(2, bottom - 1, right - 1, bottom - 1);
    p.drawLine(right - 1, 2, right - 1, bottom - 1);
    QColor softLight = t.bevelLight;
    softLight.setAlpha(softLight.alpha() / 3);
    p.setPen(softLight);
    p.drawLine(2, 2, right - 2, 2);
    p.drawLine(2, 2, 2, bottom - 2);
}

// The dark strip across the top, suggesting the disc's slot.
void paintSlot(QPainter& p, const Theme& t) {
    const QRectF slot(130, 12, 230, 5);
    insetRoundRect(p, slot, 2.5, QColor(0, 0, 0, 200), QColor(255, 255, 255, 70), QColor(0, 0, 0, 90));
    QColor glow = t.accent;
    glow.setAlpha(150);
    p.setBrush(glow);
    p.drawEllipse(QPointF(370, 14.5), 2, 2);
}

void paintDisplay(QPainter& p, const Theme& t) {
    const QRectF panel = face::kDisplayPanel;
    // Bezel: darker on top than below, so the panel reads as sunk into the body.
    QLinearGradient bezel(0, panel.top() - 3, 0, panel.bottom() + 3);
    bezel.setColorAt(0, QColor(0, 0, 0, 150));
    bezel.setColorAt(1, QColor(255, 255, 255, 130));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawRoundedRect(panel.adjusted(-2.5, -2.5, 2.5, 2.5), 9, 9);

    QPainterPath well;
    well.addRoundedRect(panel, 7, 7);
    QLinearGradient fill(0, panel.top(), 0, panel.bottom());
    fill.setColorAt(0, t.wellTop);
    fill.setColorAt(1, t.wellBottom);
    p.setBrush(fill);
    p.drawPath(well);

    p.save();
    p.setClipPath(well);
    // Shadow under the top edge, and a faint reflection across the glass.
    QLinearGradient shadow(0, panel.top(), 0, panel.top() + 7);
    shadow.setColorAt(0, QColor(0, 0, 0, 120));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(panel, shadow);
    QPainterPath glare;
    glare.moveTo(panel.left(), panel.top());
    glare.lineTo(panel.left() + 250, panel.top());
    glare.lineTo(panel.left() + 170, panel.bottom());
    glare.lineTo(panel.left(), panel.bottom());
    glare.closeSubpath();
    QLinearGradient glareFill(panel.left(), panel.top(), panel.left() + 200, panel.bottom());
    glareFill.setColorAt(0, QColor(255, 255, 255, 16));
    glareFill.setColorAt(1, QColor(255, 255, 255, 2));
    p.setBrush(glareFill);
    p.drawPath(glare);
    // LCD scan lines.
    p.setPen(QColor(0, 0, 0, 40));
    for (int y = int(panel.top()) + 1; y < panel.bottom(); y += 2)
        p.drawLine(QPointF(panel.left(), y + 0.5), QPointF(panel.right(), y + 0.5));
    p.restore();

    const QColor edgeLight(255, 255, 255, 26);
    const QColor edgeDark(0, 0, 0, 120);
    // Digit wells: track digits, then minutes and seconds.
    const QRect track = face::ledRect(0).united(face::ledRect(1)).adjusted(-3, -2, 3, 3);
    const QRect time = face::ledRect(2).united(face::ledRect(5)).adjusted(-3, -2, 3, 3);
    insetRoundRect(p, track, 3, t.digitWell, edgeLight, edgeDark);
    insetRoundRect(p, time, 3, t.digitWell, edgeLight, edgeDark);

    // The colon between minutes and seconds is printed, always lit.
    const double colonX = (face::ledRect(3).right() + 1 + face::ledRect(4).left()) / 2.0;
    const double top = face::kLedTop;
    QColor colon = t.colours.ledOn;
    colon.setAlpha(210);
    p.setBrush(colon);
    p.setPen(Qt::NoPen);
    for (double fy : {0.33, 0.70}) {
        p.drawRoundedRect(QRectF(colonX - 1.6, top + face::kLedHeight * fy - 1.6, 3.2, 3.2), 0.8, 0.8);
    }

    // Position bar groove with a scale under it.
    const QRect bar = face::kStatus;
    insetRoundRect(p, QRectF(bar).adjusted(-1.5, -1.5, 1.5, 1.5), 2, t.digitWell, edgeLight, edgeDark);
    const double scale = 1670.0 / 15.0;
    QColor mark = t.colours.caption;
    mark.setAlpha(90);
    p.setPen(QPen(mark, 1));
    for (int i = 0; i <= 4; ++i) {
        const double x = bar.left() + std::floor(scale * i / 4) + 0.5;
        const double len = (i % 2 == 0) ? 3 : 2;
        p.drawLine(QPointF(x, bar.bottom() + 3), QPointF(x, bar.bottom() + 3 + len));
    }

    // Divider between readout and titles.
    const double dividerX = (face::ledRect(5).right() + face::kCDName.left()) / 2.0 + 0.5;
    p.setPen(QPen(QColor(0, 0, 0, 140), 1));
    p.drawLine(QPointF(dividerX, panel.top() + 8), QPointF(dividerX, panel.bottom() - 8));
    p.setPen(QPen(QColor(255, 255, 255, 22), 1));
    p.drawLine(QPointF(dividerX + 1, panel.top() + 8), QPointF(dividerX + 1, panel.bottom() - 8));

    // Rules between the title rows.
    QColor rule = t.colours.text;
    rule.setAlpha(34);
    p.setPen(QPen(rule, 1, Qt::DotLine));
    for (const QRect* row : {&face::kCDName, &face::kArtist}) {
        const double y = row->bottom() + 1.5;
        p.drawLine(QPointF(face::kCDName.left(), y), QPointF(face::kCDName.right(), y));
    }

    // Well behind the track list buttons.
    const QRect buttons = face::kTrackPicker.united(face::kTrackEditor).adjusted(-2, -2, 2, 2);
    insetRoundRect(p, buttons, 3, t.digitWell, edgeLight, edgeDark);
}

void paintTransportRow(QPainter& p, const Theme& t) {
    const QRect first = face::kBackTrack;
    const QRect last = face::kEject;
    const QRectF row(first.left() - 4, first.top() - 4, last.right() - first.left() + 9,
                     face::kHeight - 4 - (first.top() - 4));
    insetRoundRect(p, row, 9, t.recess, QColor(255, 255, 255, 60), QColor(0, 0, 0, 70));
    // Each key sits in a well just larger than its rounded outline.
    for (const QRect& b : {face::kBackTrack, face::kRR, face::kPlay, face::kFF, face::kForwardTrack, face::kStop,
                           face::kPause, face::kEject}) {
        const QRectF mask(b.left() + kTransportMask.left(), b.top() + kTransportMask.top(), kTransportMask.width(),
                          kTransportMask.height());
        insetRoundRect(p, mask.adjusted(-2, -2, 2, 2), 9.5, t.keyWell, QColor(255, 255, 255, 55), QColor(0, 0, 0, 60));
    }
}

void paintVolumeArea(QPainter& p, const Theme& t) {
    // Pad under the mute images.
    insetRoundRect(p, QRectF(face::kMute).adjusted(-2, -2, 2, 2), 5, t.recess, QColor(255, 255, 255, 60),
                   QColor(0, 0, 0, 70));
    // Ring round the knob, with end marks of its travel.
    const QPointF c = QRectF(face::kVolumeKnob).center();
    const double radius = face::kVolumeKnob.width() / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawEllipse(c + QPointF(0, 0.8), radius + 2, radius + 2);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawEllipse(c - QPointF(0, 0.4), radius + 2, radius + 2);
    p.setBrush(t.recess);
    p.drawEllipse(c, radius + 1.6, radius + 1.6);
    // Travel marks on the lower half only, where nothing else is drawn.
    QColor mark = t.accent;
    for (int i = 0; i <= 4; ++i) {
        const double angle = qDegreesToRadians(225.0 - 270.0 * i / 4.0);
        if (i == 2) continue;  // the top stays clear for the volume caption
        mark.setAlpha(i == 0 || i == 4 ? 230 : 140);
        p.setBrush(mark);
        const QPointF dot = c + QPointF(std::cos(angle), -std::sin(angle)) * (radius + 5.5);
        p.drawEllipse(dot, 1.2, 1.2);
    }
}

}  // namespace

QImage drawSkin(Skin skin) {
    const Theme t = themeOf(skin);
    QImage image(face::kSkinWidth, face::kSkinHeight, QImage::Format_RGB32);
    const QRect all = image.rect();
    {
        QPainter p(&image);
        QLinearGradient body(0, 0, 0, all.height());
        body.setColorAt(0, t.bodyTop);
        body.setColorAt(1, t.bodyBottom);
        p.fillRect(all, body);
    }
    if (t.texture == Texture::Brushed) paintBrushed(image);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    switch (t.texture) {
    case Texture::Clouds:
        paintClouds(p, all);
        break;
    case Texture::Stars:
        paintStars(p, all);
        break;
    case Texture::Slate:
        paintSlate(p, all);
        break;
    case Texture::Brushed: {
        // A soft light band across the metal.
        QLinearGradient band(0, 0, all.width(), all.height());
        band.setColorAt(0.25, QColor(255, 255, 255, 0));
        band.setColorAt(0.45, QColor(255, 255, 255, 55));
        band.setColorAt(0.65, QColor(255, 255, 255, 0));
        p.fillRect(all, band);
        break;
    }
    }
    paintSlot(p, t);
    paintLogo(p, t);
    insetRoundRect(p, QRectF(face::kAbout.united(face::kExit)).adjusted(-4, -3, 4, 3), 6, t.recess,
                   QColor(255, 255, 255, 60), QColor(0, 0, 0, 70));
    paintDisplay(p, t);
    paintTransportRow(p, t);
    paintVolumeArea(p, t);
    p.setRenderHint(QPainter::Antialiasing, false);
    paintFrame(p, t);
    return image;
}

std::vector<std::pair<QString, Skin>> skinFiles() {
    return {{QStringLiteral("cloud_skin.jpg"), Skin::Cloud},
            {QStringLiteral("midnight_skin.jpg"), Skin::Midnight},
            {QStringLiteral("brushed_skin.jpg"), Skin::Brushed}};
}

SkinColours skinColours(Skin skin) {
    const Theme t = themeOf(skin);
    SkinColours colours = t.colours;
    colours.frame = t.rim;
    return colours;
}

SkinColours skinColoursForFile(const QString& fileName) {
    const QString name = QFileInfo(fileName).fileName();
    for (const auto& [file, skin] : skinFiles())
        if (name.compare(file, Qt::CaseInsensitive) == 0) return skinColours(skin);
    return skinColours(Skin::BuiltIn);
}

bool writeSkinFiles(const QString& folder, QString* error) {
    const QString skins = QDir(folder).filePath(QStringLiteral("Skins"));
    if (!QDir().mkpath(skins)) {
        if (error) *error = QStringLiteral("cannot create the folder %1").arg(skins);
        return false;
    }
    for (const auto& [name, skin] : skinFiles()) {
        const QString path = QDir(skins).filePath(name);
        // Written whole or not at all, so a running player never reads half a picture.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !drawSkin(skin).save(&file, "JPEG", 92) || !file.commit()) {
            if (error) *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
            return false;
        }
    }
    return true;
}

bool writeIconFiles(const QString& folder, QString* error) {
    for (const int size : kIconThemeSizes) {
        const QString dir = QDir(folder).filePath(QStringLiteral("icons/hicolor/%1x%1/apps").arg(size));
        const QString path = dir + QStringLiteral("/velmora.png");
        QSaveFile file(path);
        if (!QDir().mkpath(dir) || !file.open(QIODevice::WriteOnly) || !trayIconPixmap(size).save(&file, "PNG") ||
            !file.commit()) {
            if (error) *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
            return false;
        }
    }
    return true;
}

}  // namespace velmora::artwork
