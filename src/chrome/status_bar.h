#pragma once

#include <QWidget>

#include <functional>

namespace velmora {

// The filled bar inside the position bar; its width is kept in twips (1670 = the whole
// track) and is not clamped, as the refresh may report a position past the track's end.
class StatusBarShape : public QWidget {
    Q_OBJECT
public:
    explicit StatusBarShape(QWidget* parent = nullptr);
    void setWidthTwips(int twips);
    int widthTwips() const { return widthTwips_; }
    void setColour(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int widthTwips_ = 0;
    QColor colour_{240, 150, 50};
};

// The position bar's frame: reports mouse presses, moves and releases with the button
// (1 left, 2 right, 4 middle) and X, Y in twips relative to itself.
class PositionBarFrame : public QWidget {
    Q_OBJECT
public:
    explicit PositionBarFrame(QWidget* parent = nullptr);

    std::function<void(int Button, double X, double Y)> onMouseDown;
    std::function<void(int Button, double X, double Y)> onMouseMove;
    std::function<void(int Button, double X, double Y)> onMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace velmora
