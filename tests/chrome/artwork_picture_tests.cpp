#include "chrome/artwork.h"
#include "chrome/face_layout.h"

#include <gtest/gtest.h>

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <string>

using namespace velmora;
using artwork::TransportButton;

namespace {

struct ButtonInfo {
    TransportButton button;
    const char* name;
    QRect place;
};
const ButtonInfo kButtons[] = {
    {TransportButton::Play, "Play", face::kPlay},         {TransportButton::Pause, "Pause", face::kPause},
    {TransportButton::Stop, "Stop", face::kStop},         {TransportButton::Eject, "Eject", face::kEject},
    {TransportButton::ForwardTrack, "ForwardTrack", face::kForwardTrack},
    {TransportButton::BackTrack, "BackTrack", face::kBackTrack},
    {TransportButton::FF, "FF", face::kFF},               {TransportButton::RR, "RR", face::kRR},
};
static_assert(sizeof kButtons / sizeof kButtons[0] == std::size(artwork::kAllTransportButtons));

int channelDifference(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
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

// How many pixels of `area` satisfy `test(x, y)`.
template <typename Test>
int countWhere(const QRect& area, Test test) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += test(x, y) ? 1 : 0;
    return n;
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
    return countWhere(area.isNull() ? image.rect() : area, [&](int x, int y) { return qGray(image.pixel(x, y)) > 128; });
}

}  // namespace

TEST(ArtworkPictures, SizesMatchTheControls) {
    struct Case { const char* what; QSize actual; QSize expected; };
    const Case cases[] = {
        {"about", artwork::aboutPicture().size(), {16, 16}},
        {"minimize", artwork::minimizePicture().size(), {13, 11}},
        {"exit", artwork::exitPicture().size(), {13, 11}},
        {"track picker", artwork::trackPickerPicture().size(), {16, 14}},
        {"track editor", artwork::trackEditorPicture().size(), {16, 14}},
        {"mute", artwork::muteImage().size(), {19, 20}},
        {"unmute", artwork::unmuteImage().size(), {19, 20}},
        {"tray 32", artwork::trayIconPixmap(32).size(), {32, 32}},
        {"tray 16", artwork::trayIconPixmap(16).size(), {16, 16}},
        {"transport cursor", artwork::transportCursor().pixmap().size(), {32, 32}},
        {"setup cursor", artwork::setupCursor().pixmap().size(), {32, 32}},
        {"blank face", artwork::transportBlankFace(true).size(), {39, 25}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.what;
    for (const ButtonInfo& b : kButtons)
        for (bool enabled : {true, false})
            for (bool pressed : {true, false})
                EXPECT_EQ(artwork::transportPicture(b.button, enabled, pressed).size(), QSize(39, 25)) << b.name;
}

TEST(ArtworkPictures, DisabledPicturesAreVisiblyGreyed) {
    for (const auto& [b, name, place] : kButtons) {
        SCOPED_TRACE(name);
        const QImage on = artwork::transportPicture(b, true).toImage();
        const QImage off = artwork::transportPicture(b, false).toImage();
        const QImage glyph = glyphMask(b, true);
        // The glyph stands out on the enabled face far more than on the disabled one.
        double contrastOn = 0, contrastOff = 0;
        const QImage blankOn = artwork::transportBlankFace(true).toImage();
        const QImage blankOff = artwork::transportBlankFace(false).toImage();
        int n = 0;
        for (int y = 0; y < glyph.height(); ++y)
            for (int x = 0; x < glyph.width(); ++x) {
                if (!qGray(glyph.pixel(x, y))) continue;
                contrastOn += channelDifference(on.pixel(x, y), blankOn.pixel(x, y));
                contrastOff += channelDifference(off.pixel(x, y), blankOff.pixel(x, y));
                ++n;
            }
        ASSERT_GT(n, 0);
        EXPECT_GT(contrastOn / n, 2.5 * contrastOff / n);
        // Still recognisable: the disabled glyph has the same shape.
        const QImage offGlyph = glyphMask(b, false);
        const int moved = countWhere(glyph.rect(), [&](int x, int y) { return qGray(offGlyph.pixel(x, y)) != qGray(glyph.pixel(x, y)); });
        EXPECT_LT(moved, n / 2 + 1);
    }
}

// The button shows its picture centred (rounding either way) and cut to the rounded outline.
TEST(ArtworkPictures, GlyphsLieInsideTheRoundedOutlineAtTheirPlaces) {
    QPainterPath outline;
    outline.addRoundedRect(QRectF(artwork::kTransportMask), artwork::kTransportMaskCorner / 2.0,
                           artwork::kTransportMaskCorner / 2.0);
    for (const auto& [b, name, place] : kButtons) {
        SCOPED_TRACE(name);
        const QImage glyph = glyphMask(b, true);
        for (int roundUp : {0, 1}) {
            const int dx = (place.width() - glyph.width() + roundUp) / 2;
            const int dy = (place.height() - glyph.height() + roundUp) / 2;
            double sumX = 0, sumY = 0;
            int n = 0;
            for (int y = 0; y < glyph.height(); ++y)
                for (int x = 0; x < glyph.width(); ++x) {
                    if (!qGray(glyph.pixel(x, y))) continue;
                    // Every corner of the pixel, with a pixel of margin, must be inside.
                    const QRectF pixel(x + dx - 1, y + dy - 1, 3, 3);
                    EXPECT_TRUE(outline.contains(pixel)) << "pixel " << x << "," << y;
                    sumX += x + dx + 0.5;
                    sumY += y + dy + 0.5;
                    ++n;
                }
            ASSERT_GT(n, 0);
            // Roughly centred in the outline (triangles lean by nature).
            const QPointF centre = QRectF(artwork::kTransportMask).center();
            EXPECT_NEAR(sumX / n, centre.x(), 3.0);
            EXPECT_NEAR(sumY / n, centre.y(), 2.0);
        }
    }
}

TEST(ArtworkPictures, MuteImagesTellSoundingFromMuted) {
    const QImage mute = artwork::muteImage().toImage();
    const QImage unmute = artwork::unmuteImage().toImage();
    EXPECT_NE(mute, unmute);
    // The skin shows around the speaker.
    for (const QImage* image : {&mute, &unmute}) {
        EXPECT_EQ(qAlpha(image->pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image->pixel(18, 19)), 0);
        EXPECT_GT(countWhere(image->rect(), [&](int x, int y) { return qAlpha(image->pixel(x, y)) > 128; }), 60);
    }
    // Only the muted speaker carries the red cross.
    auto reddish = [](const QImage& image) {
        return countWhere(image.rect().adjusted(11, 0, 0, 0), [&](int x, int y) {
            const QRgb c = image.pixel(x, y);
            return qAlpha(c) > 200 && qRed(c) > 180 && qGreen(c) < 110 && qBlue(c) < 110;
        });
    };
    EXPECT_GT(reddish(unmute), 8);
    EXPECT_EQ(reddish(mute), 0);
}

TEST(ArtworkLed, DigitsAreSevenSegmentFigures) {
    std::vector<QImage> images;
    for (int d = 0; d <= 9; ++d) images.push_back(ledImage(d));
    for (int d = 0; d <= 9; ++d) {
        SCOPED_TRACE(d);
        if (d != 8) {
            EXPECT_LT(litPixels(images[d]), litPixels(images[8]));
        }
        if (d != 1) {
            EXPECT_GT(litPixels(images[d]), litPixels(images[1]));
        }
        for (int e = d + 1; e <= 9; ++e) EXPECT_NE(images[d], images[e]) << "vs " << e;
    }
    // A 1 is the right-hand strokes only; a 0 is hollow where an 8 has its bar.
    EXPECT_EQ(litPixels(images[1], QRect(0, 0, 7, 28)), 0);
    const QRect middle(6, 12, 5, 4);
    EXPECT_EQ(litPixels(images[0], middle), 0);
    EXPECT_GT(litPixels(images[8], middle), 3);
    // A 7 lights the top bar but not the bottom one.
    EXPECT_GT(litPixels(images[7], QRect(3, 0, 11, 4)), 5);
    const QRect bottomBar(3, 24, 6, 3);
    EXPECT_EQ(litPixels(images[7], bottomBar), 0);
    EXPECT_GT(litPixels(images[8], bottomBar), 5);
}

