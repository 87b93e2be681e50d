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

const std::pair<Skin, const char*> kAllSkins[] = {
    {Skin::BuiltIn, "built-in"}, {Skin::Cloud, "cloud"}, {Skin::Midnight, "midnight"}, {Skin::Brushed, "brushed"}};

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
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

// Patches of plain body: by the setup plate, the transport row's end and the mute pad.
double bodyLuminance(const QImage& skin) {
    const QRect patches[] = {{108, 4, 18, 20}, {376, 122, 12, 34}, {4, 30, 5, 80}};
    double sum = 0;
    for (const QRect& r : patches) sum += meanLuminance(skin, r);
    return sum / std::size(patches);
}

}  // namespace

// The controls lie over the skin, so the skin's wells must be where face_layout puts them.
TEST(ArtworkSkins, OpaqueSkinSizedWithDisplayWellsUnderTheLayoutsControls) {
    for (const auto& [s, name] : kAllSkins) {
        SCOPED_TRACE(name);
        const QImage skin = artwork::drawSkin(s);
        EXPECT_EQ(skin.size(), QSize(face::kSkinWidth, face::kSkinHeight));
        EXPECT_FALSE(skin.hasAlphaChannel());
        const double body = bodyLuminance(skin);
        for (const QRect& well : {face::ledRect(0), face::ledRect(1), face::ledRect(2), face::ledRect(3), face::ledRect(4),
                                  face::ledRect(5), face::kStatus, face::kCDName})
            EXPECT_LT(meanLuminance(skin, well) + 25, body) << well.x() << "," << well.y();
        // Just outside the display panel is body again, not panel.
        const QRect panel = face::kDisplayPanel;
        const QRect beside(panel.right() + 4, panel.top() + 20, 3, 40);
        EXPECT_GT(meanLuminance(skin, beside), meanLuminance(skin, face::ledRect(0)) + 25);
    }
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
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const std::pair<QStringList, bool> runs[] = {{{dir.path()}, true}, {{}, false}, {{blocker.fileName()}, false}};
    for (const auto& [arguments, succeeds] : runs) {
        QProcess run;
        run.start(tool, arguments);
        ASSERT_TRUE(run.waitForFinished(60000));
        const QByteArray errors = run.readAllStandardError();
        EXPECT_EQ(run.exitCode() == 0, succeeds) << arguments.join(u' ').toStdString() << ": " << errors.toStdString();
        EXPECT_TRUE(!arguments.isEmpty() || errors.contains("usage"));
    }
    for (const auto& entry : artwork::skinFiles())
        EXPECT_EQ(QImage(dir.filePath(QStringLiteral("Skins/") + entry.first)).size(),
                  QSize(face::kSkinWidth, face::kSkinHeight));
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
