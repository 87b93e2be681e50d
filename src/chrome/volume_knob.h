#pragma once

#include <QColor>
#include <QDial>

namespace velmora {

// The volume knob: a QDial that draws itself as a grey dial with a dark shadow and a green
// LED dot pointing at the value. The pointer sweeps the same 300 degrees (from lower left,
// over the top, to lower right) that QDial's own mouse handling uses, so the dot stays
// under the finger while the knob is dragged.
class VolumeKnob : public QDial {
    Q_OBJECT
public:
    // The knob's stored colours (0x00BBGGRR in the stored form): green LED, light grey
    // dial, dark red shadow.
    static inline const QColor kLedColour{0, 192, 0};
    static inline const QColor kDialColour{224, 224, 224};
    static inline const QColor kShadowColour{128, 0, 0};

    explicit VolumeKnob(QWidget* parent = nullptr);

    // With no usable mixer the knob rests at 0 with its LED dark, so it reads as "no
    // volume to show" rather than "silent".
    void setUnavailable(bool unavailable);
    bool isUnavailable() const { return unavailable_; }

    QSize sizeHint() const override { return {28, 28}; }
    QSize minimumSizeHint() const override { return {16, 16}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool unavailable_ = false;
};

}  // namespace velmora
