#include "chrome/artwork.h"
#include "chrome/artwork_windows.h"
#include "chrome/face_layout.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>
#include <vector>

using namespace velmora;
using artwork::Skin;
using artwork::TransportButton;

namespace {

constexpr auto& kButtons = artwork::kAllTransportButtons;

int channelDifference(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

// How many pixels of `area` satisfy `test(x, y)`.
template <typename Test>
int countWhere(const QRect& area, Test test) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += test(x, y) ? 1 : 0;
    return n;
}

// The glyph's pixels: where the picture departs from the blank key face.
QImage glyphMask(TransportButton b, bool enabled) {
    const QImage picture = artwork::transportPicture(b, enabled).toImage();
    const QImage blank = artwork::transportBlankFace(enabled).toImage();
    QImage mask(picture.size(), QImage::Format_Grayscale8);
    mask.fill(0);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (channelDifference(picture.pixel(x, y), blank.pixel(x, y)) > 30)
                mask.setPixel(x, y, qRgb(255, 255, 255));
    return mask;
}

double meanLuminance(const QImage& image, const QRect& area) {
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) sum += qGray(image.pixel(x, y));
    return sum / (area.width() * area.height());
}

// LED digits: rendered white on black, unlit segments left out.
QImage ledImage(int digit) {
    QImage image(17, 28, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    artwork::drawLedDigit(p, image.rect(), digit, Qt::white, Qt::transparent);
    return image;
}

int litPixels(const QImage& image, QRect area = {}) {
    const QRect counted = area.isNull() ? image.rect() : area;
    return countWhere(counted, [&](int x, int y) { return qGray(image.pixel(x, y)) > 128; });
}

}  // namespace

TEST(ArtworkPictures, SizesMatchTheControls) {
    struct Case {
        const char* what;
        QSize actual;
        QSize expected;
    };
    const Case cases[] = {
        {"about", artwork::aboutPicture().size(), {16, 16}},
        {"minimize", artwork::minimizePicture().size(), {13, 11}},
        {"exit", artwork::exitPicture().size(), {13, 11}},
        {"track picker", artwork::trackPickerPicture().size(), {16, 14}},
        {"track editor", artwork::trackEditorPicture().size(), {16, 14}},
        {"mute", artwork::muteImage().size(), {19, 20}},
        {"unmute", artwork::unmuteImage().size(), {19, 20}},
        {"tray", artwork::trayIconPixmap(32).size(), {32, 32}},
        {"transport cursor", artwork::transportCursor().pixmap().size(), {32, 32}},
        {"setup cursor", artwork::setupCursor().pixmap().size(), {32, 32}},
        // On a screen at twice the scale: the same place, twice the pixels, so it stays sharp.
        {"skin preview", artwork::skinPreviewPlaceholder({318, 110}, 2).deviceIndependentSize().toSize(), {318, 110}},
        {"skin preview pixels", artwork::skinPreviewPlaceholder({318, 110}, 2).size(), {636, 220}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.what;
    for (TransportButton b : kButtons)
        for (bool enabled : {true, false})
            for (bool pressed : {true, false})
                EXPECT_EQ(artwork::transportPicture(b, enabled, pressed).size(), QSize(39, 25)) << int(b);
}

// Each button has its own glyph, greyed but the same shape when disabled, and moves when pressed.
TEST(ArtworkPictures, TransportStatesVisiblyDiffer) {
    const QImage blankOn = artwork::transportBlankFace(true).toImage();
    const QImage blankOff = artwork::transportBlankFace(false).toImage();
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        const TransportButton b = kButtons[i];
        SCOPED_TRACE(::testing::Message() << "button " << int(b));
        const QImage on = artwork::transportPicture(b, true).toImage();
        const QImage off = artwork::transportPicture(b, false).toImage();
        EXPECT_NE(artwork::transportPicture(b, true, true).toImage(), on);
        for (std::size_t j = i + 1; j < std::size(kButtons); ++j)
            EXPECT_NE(artwork::transportPicture(kButtons[j], true).toImage(), on) << "vs " << int(kButtons[j]);
        // The glyph stands out on the enabled face far more than on the disabled one.
        const QImage glyph = glyphMask(b, true);
        double contrastOn = 0, contrastOff = 0;
        int n = 0;
        for (int y = 0; y < glyph.height(); ++y)
            for (int x = 0; x < glyph.width(); ++x) {
                if (!qGray(glyph.pixel(x, y))) continue;
                contrastOn += channelDifference(on.pixel(x, y), blankOn.pixel(x, y));
                contrastOff += channelDifference(off.pixel(x, y), blankOff.pixel(x, y));
                ++n;
            }
        ASSERT_GT(n, 0);
        EXPECT_GT(contrastOn, 2.5 * contrastOff);
        const QImage offGlyph = glyphMask(b, false);
        const int moved = countWhere(
            glyph.rect(), [&](int x, int y) { return qGray(offGlyph.pixel(x, y)) != qGray(glyph.pixel(x, y)); });
        EXPECT_LT(moved, n / 2 + 1);
    }
}

// Both speakers show the skin around them; only the muted one carries the red cross.
TEST(ArtworkPictures, MuteImagesTellSoundingFromMuted) {
    const QImage mute = artwork::muteImage().toImage();
    const QImage unmute = artwork::unmuteImage().toImage();
    for (const QImage* image : {&mute, &unmute}) {
        EXPECT_EQ(qAlpha(image->pixel(0, 0)), 0);
        EXPECT_GT(countWhere(image->rect(), [&](int x, int y) { return qAlpha(image->pixel(x, y)) > 128; }), 60);
    }
    auto reddish = [](const QImage& image) {
        return countWhere(image.rect().adjusted(11, 0, 0, 0), [&](int x, int y) {
            const QRgb c = image.pixel(x, y);
            return qAlpha(c) > 200 && qRed(c) > 180 && qGreen(c) < 110 && qBlue(c) < 110;
        });
    };
    EXPECT_GT(reddish(unmute), 8);
    EXPECT_EQ(reddish(mute), 0);
}

// Ten different figures, an 8 lighting the most and a 1 (right-hand strokes only) the least.
TEST(ArtworkLed, DigitsAreSevenSegmentFigures) {
    std::vector<QImage> images;
    for (int d = 0; d <= 9; ++d) images.push_back(ledImage(d));
    for (int d = 0; d <= 9; ++d) {
        SCOPED_TRACE(d);
        EXPECT_LE(litPixels(images[d]), litPixels(images[8]));
        EXPECT_GE(litPixels(images[d]), litPixels(images[1]));
        for (int e = d + 1; e <= 9; ++e) EXPECT_NE(images[d], images[e]) << "vs " << e;
    }
    EXPECT_EQ(litPixels(images[1], QRect(0, 0, 7, 28)), 0);
}

// The controls lie over the skin, so its dark wells must be where face_layout puts them.
TEST(ArtworkSkins, OpaqueSkinSizedWithDisplayWellsUnderTheLayoutsControls) {
    const QRect bodyPatches[] = {{108, 4, 18, 20}, {376, 122, 12, 34}, {4, 30, 5, 80}};
    for (Skin s : {Skin::BuiltIn, Skin::Cloud, Skin::Midnight, Skin::Brushed}) {
        SCOPED_TRACE(::testing::Message() << "skin " << int(s));
        const QImage skin = artwork::drawSkin(s);
        EXPECT_EQ(skin.size(), QSize(face::kSkinWidth, face::kSkinHeight));
        EXPECT_FALSE(skin.hasAlphaChannel());
        double body = 0;
        for (const QRect& r : bodyPatches) body += meanLuminance(skin, r) / std::size(bodyPatches);
        for (const QRect& well : {face::ledRect(0), face::ledRect(5), face::kStatus, face::kCDName})
            EXPECT_LT(meanLuminance(skin, well) + 25, body) << well.x() << "," << well.y();
    }
}

TEST(ArtworkSkins, BuildListsEverySkinFileAsAnOutput) {
    // Otherwise a skin added to skinFiles() is not redrawn when the artwork changes.
    QFile cmake(QStringLiteral(VELMORA_SOURCE_DIR "/resources/CMakeLists.txt"));
    ASSERT_TRUE(cmake.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(cmake.readAll());
    for (const auto& entry : artwork::skinFiles()) EXPECT_TRUE(text.contains(entry.first)) << entry.first.toStdString();
}

TEST(ArtworkSkins, WrittenFilesAreLoadableSkinPictures) {
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(artwork::writeSkinFiles(dir.path(), &error)) << error.toStdString();
    for (const auto& [name, skin] : artwork::skinFiles()) {
        SCOPED_TRACE(name.toStdString());
        QImage loaded;
        ASSERT_TRUE(loaded.load(dir.filePath(QStringLiteral("Skins/") + name), "JPEG"));
        ASSERT_EQ(loaded.size(), QSize(face::kSkinWidth, face::kSkinHeight));
        const QImage drawn = artwork::drawSkin(skin).convertToFormat(loaded.format());
        double difference = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                difference += channelDifference(loaded.pixel(x, y), drawn.pixel(x, y));
        EXPECT_LT(difference / (3.0 * drawn.width() * drawn.height()), 4.0);  // only JPEG's loss
    }
}

TEST(ArtworkSkins, WritingIntoABlockedFolderFailsWithAMessage) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("Skins")));  // a file where the folder goes
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    QString error;
    EXPECT_FALSE(artwork::writeSkinFiles(dir.path(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Skins"))) << error.toStdString();
    EXPECT_FALSE(artwork::writeSkinFiles(dir.path()));  // no message wanted: still no crash
}

TEST(ArtworkSkins, ToolWritesSkinsAndRejectsBadArguments) {
    const QString tool = QStringLiteral(VELMORA_RUNTIME_DIR "/../tools/velmora-artwork");
    if (!QFileInfo(tool).isExecutable()) GTEST_SKIP() << "velmora-artwork not built";
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const std::pair<QStringList, bool> runs[] = {{{dir.path()}, true}, {{}, false}, {{blocker.fileName()}, false}};
    for (const auto& [arguments, succeeds] : runs) {
        QProcess run;
        run.start(tool, arguments);
        ASSERT_TRUE(run.waitForFinished(60000));
        const QByteArray errors = run.readAllStandardError();
        EXPECT_EQ(run.exitCode() == 0, succeeds) << arguments.join(u' ').toStdString() << ": " << errors.toStdString();
        EXPECT_TRUE(!arguments.isEmpty() || errors.contains("usage"));
    }
    for (const auto& [name, skin] : artwork::skinFiles())
        EXPECT_FALSE(QImage(dir.filePath("Skins/" + name)).isNull()) << name.toStdString();
}

// Matched by file name alone, in any case; any other name gets the built-in colours.
TEST(ArtworkSkins, FileNamesFindTheirSkinsColours) {
    struct Case {
        const char* file;
        Skin expected;
    };
    const Case cases[] = {
        {"/opt/velmora/Skins/MIDNIGHT_SKIN.JPG", Skin::Midnight},
        {"my_own_skin.jpg", Skin::BuiltIn},
        {"cloud_skin.jpg.bak", Skin::BuiltIn},
    };
    for (const Case& c : cases)
        EXPECT_EQ(artwork::skinColoursForFile(QString::fromUtf8(c.file)).ledOn, artwork::skinColours(c.expected).ledOn)
            << c.file;
}
