#pragma once

#include <QLabel>

namespace velmora {

// An image or a bare area of the skin that acts on a click (left button, released
// inside).
class ClickArea : public QLabel {
    Q_OBJECT
public:
    explicit ClickArea(QWidget* parent = nullptr);

signals:
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

}  // namespace velmora
