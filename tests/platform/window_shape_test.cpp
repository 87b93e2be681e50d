#include "platform/ui/window_shape.h"

#include <QWidget>

#include <utility>

#include <gtest/gtest.h>

using namespace velmora;

TEST(WindowShapeTest, TwipsBecomePixelsRoundedHalfToEven) {
    const std::pair<double, int> cases[] = {{0, 0}, {15, 1}, {22.5, 2},   {37.5, 2},
                                            {7, 0}, {8, 1},  {-22.5, -2}, {-8, -1}};
    for (const auto& [twips, pixels] : cases) EXPECT_EQ(twipsToPixels(twips), pixels) << twips;
}

TEST(WindowShapeTest, RoundedRectangleCutsItsCorners) {
    const QRegion button = roundRectRegion(3, 3, 40, 28, 15, 15);
    EXPECT_EQ(button.boundingRect(), QRect(3, 3, 37, 25));
    const std::pair<QPoint, bool> cases[] = {
        {{3, 3}, false},  {{21, 3}, true},   {{3, 15}, true},  {{39, 27}, false},
        {{39, 15}, true}, {{40, 15}, false}, {{21, 27}, true}, {{21, 28}, false},
    };
    for (const auto& [p, inside] : cases) EXPECT_EQ(button.contains(p), inside) << p.x() << "," << p.y();

    // The editor's near-circle: an ellipse filling its rectangle.
    const QRegion circle = roundRectRegion(5, 0, 468, 468, 468, 468);
    EXPECT_TRUE(circle.contains(QPoint(236, 234)));
    EXPECT_TRUE(circle.contains(QPoint(236, 1)));
    EXPECT_FALSE(circle.contains(QPoint(10, 10)));

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
