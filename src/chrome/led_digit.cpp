#include "chrome/led_digit.h"

#include "chrome/artwork.h"

#include <QPainter>

namespace velmora {

LedDigit::LedDigit(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TranslucentBackground); }

void LedDigit::setDigit(int digit) {
    if (digit < 0 || digit > 9 || digit == digit_) return;
    digit_ = digit;
    update();
}

void LedDigit::setColours(const QColor& on, const QColor& off) {
    on_ = on;
    off_ = off;
    update();
}

void LedDigit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    artwork::drawLedDigit(painter, rect(), digit_, on_, off_);
}

}  // namespace velmora
