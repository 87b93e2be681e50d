#include "chrome/annunciator.h"

#include "chrome/artwork.h"

#include <QPainter>

namespace velmora {

Annunciator::Annunciator(const QStringList& words, QWidget* parent) : QWidget(parent), words_(words) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void Annunciator::setLit(unsigned lit) {
    if (lit == lit_) return;
    lit_ = lit;
    update();
}

void Annunciator::setColours(const QColor& on, const QColor& off) {
    on_ = on;
    off_ = off;
    update();
}

void Annunciator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    artwork::drawAnnunciator(painter, rect(), words_, lit_, on_, off_);
}

}  // namespace velmora
