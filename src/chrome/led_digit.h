#pragma once

#include <QColor>
#include <QWidget>

namespace velmora {

// One element of the LED readout: shows one decimal digit and tells which it shows.
class LedDigit : public QWidget {
    Q_OBJECT
public:
    explicit LedDigit(QWidget* parent = nullptr);

    void setDigit(int digit);  // values outside 0..9 keep their last digit
    int digit() const { return digit_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int digit_ = 0;
};

}  // namespace velmora
