#include "chrome/skinned_window.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// A mouse event at `global` as the window system reports it: local to where the window is.
void send(SkinnedWindow& window, QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(global - window.pos()), QPointF(global), button, held, Qt::NoModifier);
    QApplication::sendEvent(&window, &event);
}

}  // namespace

// Each move puts the window where the press point is under the mouse again, there and then:
// nothing else runs during a move.
TEST(SkinnedWindowDrag, TheWindowFollowsTheMouseByItsTravel) {
    SkinnedWindow window;
    window.resize(200, 100);
    window.move(100, 100);
    window.show();
    const QPoint press(130, 140);
    send(window, QEvent::MouseButtonPress, press, Qt::RightButton, Qt::RightButton);
    ASSERT_TRUE(window.Dragging());

    bool otherEventsRan = false;
    QTimer::singleShot(0, [&] { otherEventsRan = true; });
    for (const QPoint mouse : {QPoint(145, 120), QPoint(90, 60), QPoint(-300, 500)}) {
        send(window, QEvent::MouseMove, mouse, Qt::NoButton, Qt::RightButton);
        EXPECT_EQ(window.pos(), QPoint(100, 100) + mouse - press) << mouse.x() << "," << mouse.y();
    }
    EXPECT_FALSE(otherEventsRan);

    send(window, QEvent::MouseButtonRelease, QPoint(-300, 500), Qt::RightButton, Qt::NoButton);
    EXPECT_FALSE(window.Dragging());
    send(window, QEvent::MouseMove, QPoint(0, 0), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(window.pos(), QPoint(-330, 460));
    QCoreApplication::processEvents();
}
