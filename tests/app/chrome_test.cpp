#include "app_fixture.h"

#include <QAbstractButton>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

using ChromeTest = AppFixture;

TEST_F(ChromeTest, DraggingTheBodyMovesTheWindowWithAnyButton) {
    start();
    for (int button : {1, 2, 4}) {
        window->move(100, 100);
        window->Form_MouseDown(button, 300, 150);
        // The mouse moved 150 twips right and 75 down while the press point stayed put.
        window->Form_MouseMove(button, 450, 225);
        EXPECT_EQ(window->pos(), QPoint(110, 105)) << button;
        window->Form_MouseMove(button, 300 - 1500, 150);
        EXPECT_EQ(window->pos(), QPoint(10, 105)) << button;
        window->Form_MouseUp(button, 300, 150);
        window->Form_MouseMove(button, 900, 900);
        EXPECT_EQ(window->pos(), QPoint(10, 105)) << button;
    }
    // No bounds: the window can leave the screen entirely.
    window->Form_MouseDown(1, 0, 0);
    window->Form_MouseMove(1, -20000, -20000);
    EXPECT_LT(window->x() + window->width(), 0);
}

TEST_F(ChromeTest, ClickInATransportButtonsCutCornerReachesTheBody) {
    start();
    for (const char* name : {"cmdPlay", "cmdStop", "cmdEject", "cmdBackTrack"}) {
        auto* button = window->findChild<QAbstractButton*>(QLatin1String(name));
        const QPoint origin = button->geometry().topLeft();
        EXPECT_EQ(window->childAt(origin + QPoint(20, 14)), button) << name;
        EXPECT_EQ(window->childAt(origin + QPoint(1, 1)), nullptr) << name;
        EXPECT_EQ(window->childAt(origin + QPoint(4, 4)), nullptr) << name;  // rounded away
        EXPECT_EQ(window->childAt(origin + QPoint(41, 14)), nullptr) << name;
    }
    auto* play = window->findChild<QAbstractButton*>(QStringLiteral("cmdPlay"));
    QTest::mousePress(window, Qt::LeftButton, {}, play->geometry().topLeft() + QPoint(1, 1));
    EXPECT_TRUE(window->Dragging());
    QTest::mouseRelease(window, Qt::LeftButton, {}, play->geometry().topLeft() + QPoint(1, 1));
    EXPECT_FALSE(window->Dragging());
    // A press on the button itself does not drag.
    QTest::mousePress(play, Qt::LeftButton, {}, QPoint(20, 14));
    EXPECT_FALSE(window->Dragging());
    QTest::mouseRelease(play, Qt::LeftButton, {}, QPoint(20, 14));
}

TEST_F(ChromeTest, SkinFromTheSettingsIsDrawnAtItsOwnSizeAndAMissingOneKeepsTheBuiltInFace) {
    QDir(dir.path()).mkpath("Skins");
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(dir.filePath("Skins/red skin.jpg")));
    store("Skin", "  red skin.jpg ");
    start();
    EXPECT_EQ(window->skin().size(), QSize(200, 100));
    const QImage face = window->grab().toImage();
    EXPECT_NEAR(qRed(face.pixel(150, 30)), 255, 8);  // the picture, unstretched
    EXPECT_LT(qRed(face.pixel(300, 120)), 128);       // beyond it: not stretched over

    store("Skin", "no such skin.jpg");
    start();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(window->skin().size(), QSize(459, 162));
}
