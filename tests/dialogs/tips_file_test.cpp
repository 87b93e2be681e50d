#include "dialogs/tips_file.h"

#include "settings/qsettings_registry.h"
#include "settings/settings_schema.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <deque>
#include <map>

using namespace velmora;

namespace {

class TipsTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    std::deque<double> draws;  // the random source's next answers; 0 once used up
    TipOfTheDay tips{[this] {
        if (draws.empty()) return 0.0;
        const double r = draws.front();
        draws.pop_front();
        return r;
    }};

    void writeTips(const QByteArray& data) {
        QFile file(folder.filePath(kTipsFileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }
};

}  // namespace

TEST(SplitTips, EveryLineEndEndsATip) {
    struct Case {
        QByteArray data;
        QStringList tips;
    };
    const Case cases[] = {
        {"", {}},
        {"one tip", {"one tip"}},
        {"one tip\r\n", {"one tip"}},
        {"a\r\nb\r\nc\r\n", {"a", "b", "c"}},
        {"a\nb\nc\n", {"a", "b", "c"}},
        {"a\rb\rc", {"a", "b", "c"}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"last line has no end\r\nsecond", {"last line has no end", "second"}},
        {"a\r\n\r\nb\n\n", {"a", "", "b", ""}},
        {"\r\n", {""}},
        {"\n\r", {"", ""}},
        {"  blanks kept  \n\tand tabs", {"  blanks kept  ", "\tand tabs"}},
        {"\xEF\xBB\xBFwith a mark\n", {"with a mark"}},
        {"Caf\xC3\xA9 \xE2\x98\xBA\n", {"Caf\u00e9 \u263a"}},
        {"Caf\xE9 in Latin-1\n", {"Caf\u00e9 in Latin-1"}},
    };
    for (const Case& c : cases) EXPECT_EQ(splitTips(c.data), c.tips) << c.data.toStdString();
}

TEST_F(TipsTest, ADrawOfRPicksTipFloorOfRTimesNPlusOne) {
    writeTips("first\nsecond\nthird\n");
    const std::pair<double, int> picks[] = {{0.0, 1}, {0.3333, 1}, {0.3334, 2}, {0.6666, 2},
                                            {0.6667, 3}, {0.99999, 3}, {1.0, 3}, {-0.5, 1}};
    for (const auto& [r, index] : picks) draws.push_back(r);
    ASSERT_TRUE(tips.LoadTips(folder.filePath(kTipsFileName)));
    for (const auto& [r, index] : picks) {
        EXPECT_EQ(tips.TipIndex(), index) << r;
        EXPECT_EQ(tips.tipText(), tips.TipList()[index - 1]) << r;
        tips.PickRandomTip();
    }
}

TEST_F(TipsTest, OneTipIsShownAgainAndAgain) {
    writeTips("The only tip");
    draws = {0.0, 0.5, 0.999};
    tips.load(folder.path());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(tips.tipText(), QStringLiteral("The only tip"));
        tips.PickRandomTip();
    }
}

TEST(TipOfTheDay, ThreeTipsComeAboutAThirdEachWithRepeats) {
    QTemporaryDir folder;
    QFile file(folder.filePath(kTipsFileName));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("red\r\ngreen\r\nblue");
    file.close();
    TipOfTheDay tips;  // the clock-seeded generator
    tips.load(folder.path());
    std::map<QString, int> seen;
    int repeats = 0;
    QString last;
    const int draws = 3000;
    for (int i = 0; i < draws; ++i) {
        tips.PickRandomTip();
        ++seen[tips.tipText()];
        repeats += tips.tipText() == last;
        last = tips.tipText();
    }
    ASSERT_EQ(seen.size(), 3u);
    for (const auto& [tip, count] : seen) {
        // A third is 1000; 850..1150 is nearly six standard deviations either way.
        EXPECT_GT(count, 850) << tip.toStdString();
        EXPECT_LT(count, 1150) << tip.toStdString();
    }
    EXPECT_GT(repeats, 700);  // about a third of the draws repeat the one before
}

TEST_F(TipsTest, MissingOrEmptyFiles) {
    // No file, an empty name, a folder of that name: the not-found text.
    EXPECT_FALSE(tips.LoadTips(QString()));
    tips.load(folder.path());
    const QString notFound = QStringLiteral(
        "That the TIPOFDAY.DAT file was not found? \r\n\r\n"
        "Create a text file named TIPOFDAY.DAT using NotePad with 1 tip per line. "
        "Then place it in the same directory as the application. ");
    EXPECT_EQ(tips.tipText(), notFound);
    ASSERT_TRUE(QDir(folder.path()).mkdir(kTipsFileName));
    TipOfTheDay onFolder([] { return 0.0; });
    onFolder.load(folder.path());
    EXPECT_EQ(onFolder.tipText(), notFound);
    ASSERT_TRUE(QDir(folder.path()).rmdir(kTipsFileName));

    // An empty file was read: no tip, an empty label, and Next Tip shows nothing.
    writeTips("");
    TipOfTheDay empty([] { return 0.5; });
    empty.load(folder.path());
    EXPECT_TRUE(empty.TipList().isEmpty());
    EXPECT_EQ(empty.tipText(), QString());
    empty.PickRandomTip();
    EXPECT_EQ(empty.tipText(), QString());
}

TEST(ShippedTips, AtLeast25UsefulTipsLaidOutBesideTheProgram) {
    QFile source(QStringLiteral(VELMORA_SOURCE_DIR "/resources/TIPOFDAY.DAT"));
    QFile laidOut(QStringLiteral(VELMORA_RUNTIME_DIR "/TIPOFDAY.DAT"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    ASSERT_TRUE(laidOut.open(QIODevice::ReadOnly));
    const QByteArray data = source.readAll();
    EXPECT_EQ(laidOut.readAll(), data);
    const QStringList tips = splitTips(data);
    EXPECT_GE(tips.size(), 25);
    for (const QString& tip : tips) {
        EXPECT_GE(tip.size(), 30) << tip.toStdString();
        EXPECT_LE(tip.size(), 240) << tip.toStdString();  // fits the label
    }
    EXPECT_EQ(QStringList(tips).removeDuplicates(), 0);
    const std::pair<const char*, const char*> topics[] = {
        {"e-mail", "CDDB user name"}, {"Skins", "skins folder"}, {"tray", "tray"},
        {"velmora play", "command line"}, {"Space", "keyboard"}, {"Ctrl+Q", "quit key"},
        {"Track List Editor", "editor"}, {"volume knob", "volume"}};
    for (const auto& [word, topic] : topics)
        EXPECT_TRUE(data.contains(word)) << "no tip about the " << topic;
}

TEST(ShowTipsAtStartup, TheCheckBoxStoresOneOrZero) {
    QTemporaryDir folder;
    const QString ini = folder.filePath(QStringLiteral("settings.ini"));
    int failures = 0;
    SettingsStore store(qsettingsRegistryFactory(ini),
                        [&failures](const QString&, const RegistryError&) { ++failures; });
    for (bool checked : {true, false, true, false}) {
        EXPECT_FALSE(storeShowTipsAtStartup(store, checked).has_value());
        QString stored;
        ASSERT_TRUE(QSettingsRegistry(ini).ReadValue(HKEY_CURRENT_USER, kSettingsKey,
                                                     QStringLiteral("Show Tips at Startup"), stored));
        EXPECT_EQ(stored, checked ? QStringLiteral("1") : QStringLiteral("0"));
        // What the next start reads back decides whether the window shows.
        EXPECT_EQ(store.readWholeNumber(settings::ShowTips) != 0, checked);
    }
    EXPECT_EQ(failures, 0);
}
