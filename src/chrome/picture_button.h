#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace velmora {

// A graphical command button: a picture, and a second picture while disabled.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);

    void setPictures(const QPixmap& enabled, const QPixmap& disabled = {}, const QPixmap& pressed = {});
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap enabled_;
    QPixmap disabled_;
    QPixmap pressed_;
};

// Gives a transport button its rounded outline; outside it the button neither draws
// nor takes clicks, which then reach the window body beneath.
void RoundButton(QWidget* button);

}  // namespace velmora
