// The .disc file: what it accepts, and a message naming file and line for what it does not.
#include "cdio_test_support.h"

#include "platform/sim/disc_file.h"

#include <gtest/gtest.h>

#include <string_view>

namespace velmora {
namespace {

using namespace std::literals;

// Title lines may stand anywhere, even before the track they name or after the leadout.
TEST(SimDiscFile, ReadsTracksTextsAndLeadoutSkippingCommentsAndBlankLines) {
    const auto result = parseDiscText(
        "\xEF\xBB\xBF# an enhanced disc\r\n\r\ntitle   Night  Music \nperformer Caf\xC3\xA9 Trio\n"
        "  track 1 150 audio\r\ntracktitle 2 The  second\ntrack\t2  20000 audio\r\n"
        "   # comment after blanks\ntrack 3 40000 data\r\n  leadout 60000  \r\ntracktitle 1 First\n",
        QStringLiteral("x.disc"));
    ASSERT_TRUE(result.toc.has_value()) << result.error.toStdString();
    const DiscToc& toc = *result.toc;
    EXPECT_EQ(cdiotest::layout(toc), "1@150 2@20000 3@40000d leadout@60000");
    EXPECT_EQ(toc.text.title, QStringLiteral("Night  Music"));
    EXPECT_EQ(toc.text.performer, QStringLiteral("Caf\u00e9 Trio"));
    EXPECT_EQ(toc.text.trackTitles, (std::vector<QString>{QStringLiteral("First"), QStringLiteral("The  second")}));
    EXPECT_TRUE(parseDiscText("track 1 150 audio\nleadout 300\n", QStringLiteral("x.disc")).toc->text.empty());
}

TEST(SimDiscFile, NinetyNineTracksAreTheLimit) {
    QByteArray text;
    for (int i = 1; i <= 99; ++i)
        text += "track " + QByteArray::number(i) + " " + QByteArray::number(i * 1000) + " audio\n";
    EXPECT_TRUE(parseDiscText(text + "leadout 100000\n", QStringLiteral("99.disc")).toc.has_value());
    const auto tooMany = parseDiscText(text + "track 100 100000 audio\n", QStringLiteral("100.disc"));
    EXPECT_TRUE(tooMany.error.startsWith(QStringLiteral("100.disc:100: a disc holds at most 99")))
        << tooMany.error.toStdString();
}

struct BadFile {
    std::string_view text;
    int line;
    const char* says;  // a word of the message
};

const BadFile kBadFiles[] = {
    {"track 1 150 audio\n", 1, "without a leadout"},
    {"", 1, "no track"},
    {"track 2 150 audio\nleadout 300\n", 1, "track 1 expected"},
    {"track 1 150 audio\ntrack 2 150 audio\nleadout 500\n", 2, "starts at the same frame as track 1"},
    {"track 1 150 audio\ntrack 2 100 audio\nleadout 500\n", 2, "not after"},
    {"track 1 150 audio\nleadout 150\n", 2, "after the start"},
    {"track one 150 audio\nleadout 300\n", 1, "not a whole number"},
    {"track 1 -5 audio\nleadout 300\n", 1, "start frame"},
    {"track 1 99999999999 audio\nleadout 300\n", 1, "start frame"},
    {"track 1 150 audio\nleadout 999999\n", 2, "leadout \"999999\" is not"},
    {"track 1 150\nleadout 300\n", 1, "expected \"track"},
    {"leadout 300\ntrack 1 150 audio\n", 1, "before any track"},
    {"# c\n\ntrack 1 150 audio\nleadout 300\ntrack 2 400 audio\n", 5, "follow"},
    {"track 1 150 audio\n\xff\xfe garbage\nleadout 300\n", 2, "unknown line"},
    {"\xFF\xFEt\0r\0", 1, "UTF-16"},
    {"\xEF\xBB\xBFtrack 1 150 audio\nleadout 300 x\n", 2, "expected \"leadout"},
    {"track 1 15\0\x01 audio\nleadout 300\n"sv, 1, "start frame \"15\\x00\\x01\" is not"},
    {"track 1 150 caf\xC3\xA9\xE9\nleadout 300\n", 1, "\"caf\xC3\xA9\\xe9\" is neither"},
    {"track 1 150 audio\ntracktitle 0 Song\nleadout 300\n", 2, "expected \"tracktitle"},
    {"track 1 150 audio\nleadout 300\ntracktitle 2 Song\n", 3, "the disc has 1 tracks"},
    {"title A\ntitle B\ntrack 1 150 audio\nleadout 300\n", 2, "a second title line"},
    {"track 1 150 audio\ntracktitle 1 A\ntracktitle 1 B\nleadout 300\n", 3, "for track 1"},
    {"performer Caf\xE9\ntrack 1 150 audio\nleadout 300\n", 1, "\"Caf\\xe9\" is not UTF-8"},
};

TEST(SimDiscFile, EveryBrokenRuleIsRefusedNamingFileAndLine) {
    for (const auto& bad : kBadFiles) {
        const auto result =
            parseDiscText(QByteArray(bad.text.data(), qsizetype(bad.text.size())), QStringLiteral("/discs/bad.disc"));
        EXPECT_FALSE(result.toc.has_value()) << bad.text;
        const QString prefix = QStringLiteral("/discs/bad.disc:%1: ").arg(bad.line);
        EXPECT_TRUE(result.error.startsWith(prefix)) << bad.text << " -> " << result.error.toStdString();
        EXPECT_TRUE(result.error.contains(QString::fromUtf8(bad.says)))
            << bad.text << " -> " << result.error.toStdString();
    }
}

TEST(SimDiscFile, FilesThatCannotBeReadAreNamed) {
    QTemporaryDir dir;
    const QString huge = cdiotest::writeFile(dir.filePath(QStringLiteral("huge.disc")), QByteArray(2 << 20, '#'));
    ASSERT_FALSE(huge.isEmpty());
    for (const QString& path : {dir.filePath(QStringLiteral("missing.disc")), dir.path(), huge}) {
        const auto result = loadDiscFile(path);
        EXPECT_FALSE(result.toc.has_value()) << path.toStdString();
        EXPECT_TRUE(result.error.startsWith(path)) << result.error.toStdString();
    }
}

TEST(SimDiscFile, TheDemoDiscIsAValidTwelveTrackDisc) {
    const auto result = loadDiscFile(QStringLiteral(VELMORA_SOURCE_DIR "/resources/demo/demo.disc"));
    ASSERT_TRUE(result.toc.has_value()) << result.error.toStdString();
    EXPECT_EQ(result.toc->tracks.size(), 12u);
    EXPECT_EQ(result.toc->tracks.front().startFrame, 150);
}

}  // namespace
}  // namespace velmora
