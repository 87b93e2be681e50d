#include "platform/ui/window_shape.h"

#include <QWidget>

#include <gtest/gtest.h>

using namespace velmora;

TEST(WindowShapeTest, TwipsBecomePixelsRoundedHalfToEven) {
    struct Case {
        double twips;
        int pixels;
    } cases[] = {{0, 0}, {15, 1}, {22.5, 2}, {37.5, 2}, {52.5, 4}, {7, 0}, {8, 1}, {6900, 460}, {-22.5, -2}, {-8, -1}};
    for (const auto& tc : cases) EXPECT_EQ(twipsToPixels(tc.twips), tc.pixels) << tc.twips;
}

TEST(WindowShapeTest, RoundedRectangleCutsItsCorners) {
    const QRegion button = roundRectRegion(3, 3, 40, 28, 15, 15);
    EXPECT_EQ(button.boundingRect(), QRect(3, 3, 37, 25));
    struct Case {
        QPoint p;
        bool inside;
    } cases[] = {
        {{1, 1}, false},  {{3, 3}, false},   {{4, 4}, false},  {{21, 3}, true},  {{3, 15}, true},
        {{39, 27}, false}, {{39, 15}, true}, {{40, 15}, false}, {{21, 27}, true}, {{21, 28}, false},
    };
    for (const auto& tc : cases) EXPECT_EQ(button.contains(tc.p), tc.inside) << tc.p.x() << "," << tc.p.y();

    // The editor's near-circle: an ellipse filling its rectangle.
    const QRegion circle = roundRectRegion(5, 0, 468, 468, 468, 468);
    EXPECT_TRUE(circle.contains(QPoint(236, 234)));
    EXPECT_FALSE(circle.contains(QPoint(10, 10)));
    EXPECT_FALSE(circle.contains(QPoint(460, 460)));
    EXPECT_TRUE(circle.contains(QPoint(236, 1)));

    EXPECT_TRUE(roundRectRegion(10, 10, 10, 20, 5, 5).isEmpty());
}

TEST(WindowShapeTest, PlacementSetsTheLayerAndShows) {
    QWidget window(nullptr, Qt::FramelessWindowHint);
    placeWindow(&window, Layer::Topmost, false);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window.testAttribute(Qt::WA_ShowWithoutActivating));
    placeWindow(&window, Layer::Top, true);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}
