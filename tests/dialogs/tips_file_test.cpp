#include "dialogs/tips_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <iterator>
#include <map>

using namespace velmora;

namespace {

void writeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

const QString kNotFound = QStringLiteral(
    "That the TIPOFDAY.DAT file was not found? \r\n\r\n"
    "Create a text file named TIPOFDAY.DAT using NotePad with 1 tip per line. "
    "Then place it in the same directory as the application. ");

}  // namespace

TEST(SplitTips, EveryLineEndEndsATip) {
    const std::pair<QByteArray, QStringList> cases[] = {
        {"", {}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n\r\nb\n\n", {"a", "", "b", ""}},
        {"\n\r", {"", ""}},
        {"  blanks kept \t", {"  blanks kept \t"}},
        {"\xEF\xBB\xBF"
         "Caf\xC3\xA9\n",
         {"Caf\u00e9"}},
        {"Caf\xE9 in Latin-1", {"Caf\u00e9 in Latin-1"}},
    };
    for (const auto& [data, tips] : cases) EXPECT_EQ(splitTips(data), tips) << data.toStdString();
}

// Draw r shows tip floor(r * n + 1); a source straying outside [0, 1) still lands on a tip.
TEST(TipOfTheDay, EachDrawPicksTheTipItNames) {
    const QByteArray file = "first\nsecond\nthird\n";
    const std::pair<double, int> draws[] = {{0.3333, 1}, {0.3334, 2}, {0.6667, 3}, {1.0, 3}, {-0.5, 1}};
    QTemporaryDir folder;
    writeFile(folder.filePath(kTipsFileName), file);
    std::size_t next = 0;
    TipOfTheDay tips([&] { return draws[next++ % std::size(draws)].first; });
    tips.load(folder.path());  // the first draw
    for (const auto& [r, index] : draws) {
        EXPECT_EQ(tips.TipIndex(), index) << r;
        EXPECT_EQ(tips.tipText(), splitTips(file)[index - 1]) << r;
        tips.PickRandomTip();
    }
}

TEST(TipOfTheDay, ThreeTipsComeAboutAThirdEachWithRepeats) {
    QTemporaryDir folder;
    writeFile(folder.filePath(kTipsFileName), "red\r\ngreen\r\nblue");
    TipOfTheDay tips;  // the clock-seeded generator
    tips.load(folder.path());
    std::map<QString, int> seen;
    int repeats = 0;
    for (int i = 0; i < 3000; ++i) {
        const QString last = tips.tipText();
        tips.PickRandomTip();
        ++seen[tips.tipText()];
        repeats += tips.tipText() == last;
    }
    ASSERT_EQ(seen.size(), 3u);
    // A third is 1000; 850..1150 is nearly six standard deviations either way.
    for (const auto& [tip, count] : seen) EXPECT_TRUE(count > 850 && count < 1150) << tip.toStdString() << count;
    EXPECT_GT(repeats, 700);  // about a third of the draws repeat the one before
}

TEST(TipOfTheDay, MissingFilesShowTheNotFoundTextAndAnEmptyFileShowsNothing) {
    QTemporaryDir folder;
    TipOfTheDay tips([] { return 0.5; });
    EXPECT_FALSE(tips.LoadTips(QString()));
    tips.load(folder.path());
    EXPECT_EQ(tips.tipText(), kNotFound);

    ASSERT_TRUE(QDir(folder.path()).mkdir(kTipsFileName));  // not a file: cannot be read
    TipOfTheDay onFolder([] { return 0.5; });
    onFolder.load(folder.path());
    EXPECT_EQ(onFolder.tipText(), kNotFound);
    ASSERT_TRUE(QDir(folder.path()).rmdir(kTipsFileName));

    writeFile(folder.filePath(kTipsFileName), "");
    TipOfTheDay empty([] { return 0.5; });
    EXPECT_TRUE(empty.LoadTips(folder.filePath(kTipsFileName)));
    EXPECT_EQ(empty.tipText(), QString());
    empty.PickRandomTip();
    EXPECT_EQ(empty.tipText(), QString());
}

TEST(ShippedTips, AtLeast25TipsLaidOutBesideTheProgram) {
    QFile source(QStringLiteral(VELMORA_SOURCE_DIR "/resources/TIPOFDAY.DAT"));
    QFile laidOut(QStringLiteral(VELMORA_RUNTIME_DIR "/TIPOFDAY.DAT"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly) && laidOut.open(QIODevice::ReadOnly));
    const QByteArray data = source.readAll();
    EXPECT_EQ(laidOut.readAll(), data);
    const QStringList tips = splitTips(data);
    EXPECT_GE(tips.size(), 25);
    EXPECT_EQ(QStringList(tips).removeDuplicates(), 0);
    // No empty tip, and none too long for the label.
    for (const QString& tip : tips) EXPECT_TRUE(tip.size() >= 30 && tip.size() <= 240) << tip.toStdString();
    for (const char* topic :
         {"e-mail", "Skins folder", "tray", "velmora play", "Space", "Ctrl+Q", "Track List Editor", "volume knob"})
        EXPECT_TRUE(data.contains(topic)) << "no tip about " << topic;
}
