#pragma once

#include <QPixmap>
#include <QWidget>

namespace velmora {

// A borderless window whose face is a picture (the skin), drawn at its own size from
// the top-left corner, and which the user moves by dragging its body with any mouse
// button. Coordinates of the drag handlers are twips (15 to a pixel).
class SkinnedWindow : public QWidget {
    Q_OBJECT
public:
    explicit SkinnedWindow(QWidget* parent = nullptr);

    // `surround` fills whatever of the window the picture does not cover.
    void setSkin(const QPixmap& skin, const QColor& surround = Qt::black);
    const QPixmap& skin() const { return skin_; }

    // Window place in twips.
    int Left() const;
    int Top() const;
    void setLeft(int twips);
    void setTop(int twips);
    int Width() const;
    int Height() const;

    // The body's mouse handlers; X and Y in twips, relative to the window.
    void Form_MouseDown(int Button, double X, double Y);
    void Form_MouseMove(int Button, double X, double Y);
    void Form_MouseUp(int Button, double X, double Y);

    bool Dragging() const { return Dragging_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap skin_;
    QColor surround_ = Qt::black;
    bool Dragging_ = false;
    double DragStartX = 0;
    double DragStartY = 0;
};

// Mouse buttons as the handlers number them: 1 left, 2 right, 4 middle.
int mouseButtonCode(Qt::MouseButton button);

}  // namespace velmora
