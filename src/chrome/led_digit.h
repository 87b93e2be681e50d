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
    void setColours(const QColor& on, const QColor& off);
    int digit() const { return digit_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int digit_ = 0;
    QColor on_{255, 64, 40};
    QColor off_{70, 18, 14};
};

}  // namespace velmora
