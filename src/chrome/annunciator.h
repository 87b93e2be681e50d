#pragma once

#include <QColor>
#include <QStringList>
#include <QWidget>

namespace velmora {

// A row of indicator words on the display; each is lit or shows as a faint ghost, so the
// choices can be read at a glance along with the one in effect.
class Annunciator : public QWidget {
    Q_OBJECT
public:
    explicit Annunciator(const QStringList& words, QWidget* parent = nullptr);

    // Bit i lights word i.
    void setLit(unsigned lit);
    unsigned lit() const { return lit_; }
    const QStringList& words() const { return words_; }
    void setColours(const QColor& on, const QColor& off);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList words_;
    unsigned lit_ = 0;
    QColor on_{255, 64, 40};
    QColor off_{70, 18, 14};
};

}  // namespace velmora
