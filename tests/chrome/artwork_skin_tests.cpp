#include "chrome/artwork.h"
#include "chrome/face_layout.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <cmath>

using namespace velmora;
using artwork::Skin;

namespace {

const Skin kAllSkins[] = {Skin::BuiltIn, Skin::Cloud, Skin::Midnight, Skin::Brushed};

const char* skinName(Skin s) {
    switch (s) {
    case Skin::BuiltIn: return "built-in";
    case Skin::Cloud: return "cloud";
    case Skin::Midnight: return "midnight";
    case Skin::Brushed: return "brushed";
    }
    return "?";
}

double luminance(QRgb c) { return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c); }

double meanLuminance(const QImage& image, const QRect& area) {
    double sum = 0;
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x, ++count) sum += luminance(image.pixel(x, y));
    return count ? sum / count : 0;
}

double meanAbsDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

// Patches of plain body: between the setup plate and the slot, left of the transport row's
// end, and between the transport row and the mute pad.
double bodyLuminance(const QImage& skin) {
    const QRect patches[] = {{108, 4, 18, 20}, {376, 122, 12, 34}, {4, 30, 5, 80}};
    double sum = 0;
    for (const QRect& r : patches) sum += meanLuminance(skin, r);
    return sum / std::size(patches);
}

}  // namespace

TEST(ArtworkSkins, EverySkinHasTheSkinSizeAndIsOpaque) {
    for (Skin s : kAllSkins) {
        SCOPED_TRACE(skinName(s));
        const QImage skin = artwork::drawSkin(s);
        EXPECT_EQ(skin.size(), QSize(face::kSkinWidth, face::kSkinHeight));
        EXPECT_FALSE(skin.hasAlphaChannel());
    }
}

TEST(ArtworkSkins, SkinsDifferFromEachOther) {
    std::vector<QImage> images;
    for (Skin s : kAllSkins) images.push_back(artwork::drawSkin(s));
    for (size_t i = 0; i < images.size(); ++i)
        for (size_t j = i + 1; j < images.size(); ++j) {
            SCOPED_TRACE(std::string(skinName(kAllSkins[i])) + " vs " + skinName(kAllSkins[j]));
            EXPECT_GT(meanAbsDifference(images[i], images[j]), 12.0);
        }
}

TEST(ArtworkSkins, DrawingIsRepeatable) {
    // The built-in skin is redrawn at every start; it must not depend on chance.
    EXPECT_EQ(artwork::drawSkin(Skin::Cloud), artwork::drawSkin(Skin::Cloud));
}

// The controls lie over the skin, so the skin's wells must be where face_layout puts them.
TEST(ArtworkSkins, DisplayWellsSitUnderTheLayoutsControls) {
    for (Skin s : kAllSkins) {
        SCOPED_TRACE(skinName(s));
        const QImage skin = artwork::drawSkin(s);
        const double body = bodyLuminance(skin);
        for (int i = 0; i < 6; ++i) {
            SCOPED_TRACE(i);
            EXPECT_LT(meanLuminance(skin, face::ledRect(i)) + 25, body);
        }
        EXPECT_LT(meanLuminance(skin, face::kStatus) + 25, body);
        EXPECT_LT(meanLuminance(skin, face::kCDName) + 25, body);
        // Just outside the display panel is body again, not panel.
        const QRect panel = face::kDisplayPanel;
        const QRect beside(panel.right() + 4, panel.top() + 20, 3, 40);
        EXPECT_GT(meanLuminance(skin, beside), meanLuminance(skin, face::ledRect(0)) + 25);
    }
}

TEST(ArtworkSkins, ColonMarkSitsBetweenMinutesAndSeconds) {
    for (Skin s : kAllSkins) {
        SCOPED_TRACE(skinName(s));
        const QImage skin = artwork::drawSkin(s);
        const int left = face::ledRect(3).right() + 1;
        const QRect gap(left, face::kLedTop, face::ledRect(4).left() - left, face::kLedHeight);
        const QRect noColon(face::ledRect(1).right() + 1, face::kLedTop, 4, face::kLedHeight);
        double brightest = 0;
        for (int y = gap.top(); y <= gap.bottom(); ++y)
            for (int x = gap.left(); x <= gap.right(); ++x)
                brightest = std::max(brightest, luminance(skin.pixel(x, y)));
        EXPECT_GT(brightest, meanLuminance(skin, face::ledRect(4)) + 60);
        EXPECT_LT(meanLuminance(skin, noColon), brightest - 60);
    }
}

TEST(ArtworkSkins, TransportKeysSitInWells) {
    // Round each key's outline lies a dark well; the cut corners show it, not a stray
    // piece of the body.
    const QRect buttons[] = {face::kBackTrack, face::kRR,   face::kPlay,  face::kFF,
                             face::kForwardTrack, face::kStop, face::kPause, face::kEject};
    for (Skin s : kAllSkins) {
        SCOPED_TRACE(skinName(s));
        const QImage skin = artwork::drawSkin(s);
        const double body = bodyLuminance(skin);
        for (const QRect& b : buttons) {
            const QRect mask = artwork::kTransportMask.translated(b.topLeft());
            const QRect above(mask.left() + 12, mask.top() - 2, 12, 2);
            const QRect leftOf(mask.left() - 2, mask.top() + 9, 2, 6);
            EXPECT_LT(meanLuminance(skin, above), std::max(body - 20, 40.0)) << b.left();
            EXPECT_LT(meanLuminance(skin, leftOf), std::max(body - 20, 40.0)) << b.left();
        }
    }
}

TEST(ArtworkSkins, SkinFilesAreDistinctJpegNamesAndIncludeTheDefault) {
    const auto files = artwork::skinFiles();
    ASSERT_GE(files.size(), 2u);
    QSet<QString> names;
    QSet<int> skins;
    for (const auto& [name, skin] : files) {
        EXPECT_TRUE(name.endsWith(QStringLiteral(".jpg"))) << name.toStdString();
        EXPECT_FALSE(name.contains(QLatin1Char('/'))) << name.toStdString();
        EXPECT_NE(skin, Skin::BuiltIn);
        names.insert(name);
        skins.insert(int(skin));
    }
    EXPECT_EQ(names.size(), int(files.size()));
    EXPECT_EQ(skins.size(), int(files.size()));
    EXPECT_TRUE(names.contains(QStringLiteral("cloud_skin.jpg")));
}

TEST(ArtworkSkins, BuildListsEverySkinFileAsAnOutput) {
    // Otherwise a skin added to skinFiles() is not redrawn when the artwork changes.
    QFile cmake(QStringLiteral(VELMORA_SOURCE_DIR "/resources/CMakeLists.txt"));
    ASSERT_TRUE(cmake.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(cmake.readAll());
    for (const auto& entry : artwork::skinFiles())
        EXPECT_TRUE(text.contains(entry.first)) << entry.first.toStdString();
}

TEST(ArtworkSkins, WrittenFilesAreLoadableSkinPictures) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString error;
    ASSERT_TRUE(artwork::writeSkinFiles(dir.path(), &error)) << error.toStdString();
    for (const auto& [name, skin] : artwork::skinFiles()) {
        SCOPED_TRACE(name.toStdString());
        QImage loaded;
        ASSERT_TRUE(loaded.load(dir.filePath(QStringLiteral("Skins/") + name), "JPEG"));
        EXPECT_EQ(loaded.size(), QSize(face::kSkinWidth, face::kSkinHeight));
        const QImage drawn = artwork::drawSkin(skin).convertToFormat(loaded.format());
        EXPECT_LT(meanAbsDifference(loaded, drawn), 4.0);  // only JPEG's loss
    }
}

TEST(ArtworkSkins, WritingIntoABlockedFolderFailsWithAMessage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile blocker(dir.filePath(QStringLiteral("Skins")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString error;
    EXPECT_FALSE(artwork::writeSkinFiles(dir.path(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Skins"))) << error.toStdString();
    EXPECT_FALSE(artwork::writeSkinFiles(dir.path()));  // no message wanted: still no crash
}

TEST(ArtworkSkins, ToolWritesSkinsAndRejectsBadArguments) {
    const QString tool = QStringLiteral(VELMORA_RUNTIME_DIR "/../tools/velmora-artwork");
    if (!QFileInfo(tool).isExecutable()) GTEST_SKIP() << "velmora-artwork not built";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    QProcess run;
    run.start(tool, {dir.path()});
    ASSERT_TRUE(run.waitForFinished(60000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    for (const auto& entry : artwork::skinFiles())
        EXPECT_EQ(QImage(dir.filePath(QStringLiteral("Skins/") + entry.first)).size(),
                  QSize(face::kSkinWidth, face::kSkinHeight));

    QProcess noArgument;
    noArgument.start(tool, {});
    ASSERT_TRUE(noArgument.waitForFinished(60000));
    EXPECT_NE(noArgument.exitCode(), 0);
    EXPECT_TRUE(noArgument.readAllStandardError().contains("usage"));

    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QProcess blocked;
    blocked.start(tool, {blocker.fileName()});
    ASSERT_TRUE(blocked.waitForFinished(60000));
    EXPECT_NE(blocked.exitCode(), 0);
}

TEST(ArtworkSkins, ColoursLetWidgetsMatchTheDisplay) {
    for (Skin s : kAllSkins) {
        SCOPED_TRACE(skinName(s));
        const artwork::SkinColours c = artwork::skinColours(s);
        const QImage skin = artwork::drawSkin(s);
        const double well = meanLuminance(skin, face::ledRect(0));
        // Lit segments and titles stand out from the well; unlit ones barely do.
        EXPECT_GT(luminance(c.ledOn.rgb()), well + 80);
        EXPECT_GT(luminance(c.text.rgb()), well + 80);
        EXPECT_LT(c.ledOff.alpha(), 80);
        EXPECT_TRUE(c.frame.isValid());
    }
}

TEST(ArtworkSkins, FileNamesFindTheirSkinsColours) {
    struct Case { const char* file; Skin expected; };
    const Case cases[] = {
        {"cloud_skin.jpg", Skin::Cloud},
        {"/opt/velmora/Skins/MIDNIGHT_SKIN.JPG", Skin::Midnight},
        {"Skins/brushed_skin.jpg", Skin::Brushed},
        {"my_own_skin.jpg", Skin::BuiltIn},
        {"", Skin::BuiltIn},
        {"cloud_skin.jpg.bak", Skin::BuiltIn},
    };
    for (const Case& c : cases)
        EXPECT_EQ(artwork::skinColoursForFile(QString::fromUtf8(c.file)).ledOn,
                  artwork::skinColours(c.expected).ledOn)
            << c.file;
}
