#include "chrome/led_digit.h"

#include "chrome/artwork.h"

#include <QPainter>

namespace velmora {

namespace {
const QColor kSegmentOn(255, 64, 40);
const QColor kSegmentOff(70, 18, 14);
}  // namespace

LedDigit::LedDigit(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TranslucentBackground); }

void LedDigit::setDigit(int digit) {
    if (digit < 0 || digit > 9 || digit == digit_) return;
    digit_ = digit;
    update();
}

void LedDigit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    artwork::drawLedDigit(painter, rect(), digit_, kSegmentOn, kSegmentOff);
}

}  // namespace velmora
