#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>
#include <QtGlobal>

// Small drawing helpers that the skins and the other windows' pictures share.
namespace velmora::artwork::paint {

// A small fixed pseudo-random sequence, so every build draws the same pictures.
struct Lcg {
    quint32 state;
    quint32 next() { return state = state * 1664525u + 1013904223u; }
    double unit() { return (next() >> 8) / double(1u << 24); }
};

// A rounded recess: dark on top, catching light at its bottom edge.
inline void insetRoundRect(QPainter& p, const QRectF& r, double radius, const QColor& fill, const QColor& light,
                           const QColor& shade) {
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawRoundedRect(r.adjusted(0, 0, 0, 1), radius, radius);
    p.setBrush(shade);
    p.drawRoundedRect(r.adjusted(0, -1, 0, 0), radius, radius);
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
}

}  // namespace velmora::artwork::paint
