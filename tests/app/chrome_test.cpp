#include "app_fixture.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QTest>

#include <sys/stat.h>

using namespace velmora;
using namespace velmora::test;

using ChromeTest = AppFixture;

TEST_F(ChromeTest, DraggingTheBodyMovesTheWindowWithoutBounds) {
    start();
    window->move(100, 100);
    window->Form_MouseDown(2, 300, 150);
    // The mouse moved 150 twips right and 75 down while the press point stayed put.
    window->Form_MouseMove(2, 450, 225);
    EXPECT_EQ(window->pos(), QPoint(110, 105));
    window->Form_MouseMove(2, -20000, -20000);  // the window can leave the screen entirely
    EXPECT_LT(window->x() + window->width(), 0);
}

TEST_F(ChromeTest, ClickInATransportButtonsCutCornerReachesTheBody) {
    start();
    // How the corners are cut: WindowShape tests; here, that the buttons are cut.
    auto* play = window->findChild<QAbstractButton*>(QStringLiteral("cmdPlay"));
    EXPECT_EQ(window->childAt(play->geometry().topLeft() + QPoint(20, 14)), play);
    EXPECT_EQ(window->childAt(play->geometry().topLeft() + QPoint(1, 1)), nullptr);
    QTest::mousePress(window, Qt::LeftButton, {}, play->geometry().topLeft() + QPoint(1, 1));
    EXPECT_TRUE(window->Dragging());
    QTest::mouseRelease(window, Qt::LeftButton, {}, play->geometry().topLeft() + QPoint(1, 1));
    EXPECT_FALSE(window->Dragging());
    // A press on the button itself does not drag.
    QTest::mousePress(play, Qt::LeftButton, {}, QPoint(20, 14));
    EXPECT_FALSE(window->Dragging());
    QTest::mouseRelease(play, Qt::LeftButton, {}, QPoint(20, 14));
}

TEST_F(ChromeTest, SkinFromTheSettingsIsDrawnAtItsOwnSizeAndOneThatCannotBeShownKeepsTheBuiltInFace) {
    writeSkin("red skin.jpg", {200, 100}, Qt::red);
    store("Skin", "  red skin.jpg ");
    start();
    EXPECT_EQ(window->skin().size(), QSize(200, 100));
    const QImage face = window->grab().toImage();
    EXPECT_NEAR(qRed(face.pixel(150, 30)), 255, 8);  // the picture, unstretched
    EXPECT_LT(qRed(face.pixel(300, 120)), 128);      // beyond it: not stretched over

    // A JPEG cut short still "loads" in Qt, grey where its data ends.
    QImage noise(300, 120, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) noise.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, x * y % 256));
    QImageWriter progressive(dir.filePath(QStringLiteral("Skins/progressive.jpg")), "jpg");
    progressive.setProgressiveScanWrite(true);
    ASSERT_TRUE(progressive.write(noise));
    store("Skin", "progressive.jpg");
    start();
    EXPECT_EQ(window->skin().size(), QSize(300, 120)) << "a whole JPEG in several scans";
    const QString cut = dir.filePath(QStringLiteral("Skins/cut.jpg"));
    ASSERT_TRUE(noise.save(cut, "JPG", 95));
    QFile::resize(cut, QFileInfo(cut).size() * 2 / 3);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("Skins/pipe.jpg"))).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Skins/folder.jpg")));
    for (const char* name : {"no such skin.jpg", "cut.jpg", "pipe.jpg", "folder.jpg"}) {
        SCOPED_TRACE(name);
        store("Skin", QLatin1String(name));
        start();
        ASSERT_TRUE(loaded);
        EXPECT_EQ(window->skin().size(), QSize(459, 162));
    }
}
