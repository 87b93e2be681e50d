#include "cddb/cddb_query.h"
#include "cddb_replies.h"

#include <gtest/gtest.h>

using namespace velmora;
using Titles = std::vector<std::optional<QString>>;

namespace {

Titles songs(int count) {
    Titles t;
    for (int i = 1; i <= count; ++i) t.push_back(QStringLiteral("Song %1").arg(i));
    return t;
}

}  // namespace

TEST(CddbRecord, ReadsEveryFormAServerSends) {
    const struct {
        const char* name;
        QByteArray body;
        QString artist;
        QString title;
        Titles tracks;
        QByteArray contentType = "text/plain";
    } cases[] = {
        {"CR LF, 12 tracks", cddbRecordReply(12), "Band", "Album", songs(12)},
        {"LF alone, 1 track", cddbRecordReply(1, "\n"), "Band", "Album", songs(1)},
        {"no terminator, last line unended", "210 rock x\nDTITLE=A / B\nTTITLE0=Last", "A", "B", {"Last"}},
        {"disc title without a slash", cddbRecordReply(1, "\r\n", "Greatest Hits"), "Greatest Hits", "Greatest Hits",
         songs(1)},
        {"artist with a slash in the name", cddbRecordReply(1, "\r\n", "AC/DC / Live"), "AC/DC", "Live", songs(1)},
        {"only a bare slash", cddbRecordReply(1, "\r\n", "Artist/ Title"), "Artist", "Title", songs(1)},
        {"keys continued over lines",
         "210 rock x\r\nDTITLE=A Very Long Art\r\nDTITLE=ist / Long\r\nDTITLE= Title\r\nTTITLE0=Part "
         "\r\nTTITLE1=Two\r\n"
         "TTITLE0=One\r\n.\r\n",
         "A Very Long Artist",
         "Long Title",
         {"Part One", "Two"}},
        {"escapes, also split over lines",
         "210 rock x\r\nDTITLE=A\\tB / C\\\\D\r\nTTITLE0=one\\\r\nTTITLE0=nline \\x\r\n.\r\n",
         "A B",
         "C\\D",
         {"one line \\x"}},
        {"undeclared and not UTF-8: Windows-1252",
         "210 rock x\r\nDTITLE=Bj\xf6rk / \x93Hom\xe9genic\x94\r\nTTITLE0=5 \x80\r\n.\r\n",
         QString::fromUtf8("Björk"),
         QString::fromUtf8("“Homégenic”"),
         {QString::fromUtf8("5 €")}},
        {"declared GB18030",
         "210 misc x\r\nDTITLE=\xcd\xf5\xb7\xc6 / \xb8\xe8\r\n.\r\n",
         QString::fromUtf8("王菲"),
         QString::fromUtf8("歌"),
         {},
         "text/plain; charset=GB18030"},
        {"GB18030 undeclared: read as Windows-1252, never as control characters",
         "210 misc x\r\nDTITLE=\xcd\xf5 / \x81\x90\r\n.\r\n",
         QString::fromUtf8("Íõ"),
         QString(),
         {}},
        {"declared Windows-1252 though valid UTF-8",
         "210 misc x\r\nDTITLE=\xc3\xa9 / t\r\n.\r\n",
         QString::fromUtf8("Ã©"),
         "t",
         {},
         "text/plain;charset=\"windows-1252\""},
        {"control characters dropped",
         "210 misc x\r\nDTITLE=A\x01\x1b[31m / B\x7f\r\nTTITLE0=\xc2\x9bx\r\n.\r\n",
         "A[31m",
         "B",
         {"x"}},
        {"tracks missing between, comments and lines after the terminator ignored",
         "210 rock x\r\n# TTITLE1=comment\r\nDTITLE=A / "
         "B\r\nTTITLE0=a\r\nTTITLE2=c\r\nDYEAR=1999\r\n.\r\nTTITLE3=late\r\n",
         "A",
         "B",
         {"a", std::nullopt, "c"}},
        {"track 99 and beyond",
         "210 rock x\r\nDTITLE=A / B\r\nTTITLE98=last\r\nTTITLE99=none\r\nTTITLE100=none\r\n.\r\n", "A", "B",
         [] {
             Titles t(99);
             t[98] = "last";
             return t;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<CddbRecord> record = parseCddbRecord(c.body, c.contentType);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->artist, c.artist);
        EXPECT_EQ(record->title, c.title);
        EXPECT_EQ(record->tracks, c.tracks);
    }
}

// A "211" lists close matches; a "210" without a disc title cannot be shown.
TEST(CddbRecord, OnlyA210ReplyWithADiscTitleIsARecord) {
    const QByteArray replies[] = {"211 close matches\r\nrock 0a0b0c0d A / B\r\n.\r\n", "21",
                                  "210 rock x\r\nTTITLE0=a\r\n.\r\n"};
    for (const QByteArray& reply : replies) EXPECT_FALSE(parseCddbRecord(reply)) << reply.toStdString();
}

TEST(CddbRequest, HelloFieldsTravelEscaped) {
    const struct {
        QString field;
        QString escaped;
    } cases[] = {
        {"a+b=c%d", "a%2Bb%3Dc%25d"},
        {QString::fromUtf8("Zoë"), "Zo%C3%AB"},
        {"me@home.example_x-y~", "me@home.example_x-y~"},
    };
    for (const auto& c : cases) EXPECT_EQ(escapeCddbField(c.field), c.escaped) << c.field.toStdString();
}
