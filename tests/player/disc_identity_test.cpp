#include "player_fixture.h"

#include <QDir>
#include <QFile>

#include <map>
#include <string>

using namespace velmora;
using namespace velmora::test;

namespace {

const QChar NUL(u'\0');
const char kTrackQuery[] = "status cd number of tracks wait";

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QString loaded(const char* text) { return QString::fromUtf8(text) + NUL; }

// The disc database as the player loads a disc from it.
class GetCdInfoTest : public PlayerFixture {
protected:
    GetCdInfoTest() {
        mci.answer(kTrackQuery, "3");
        QObject::connect(&core.session, &PlayerSession::problem, [this](const QString& text) { problems << text; });
    }

    QString path() const { return database.filePath(); }
    void load(const QString& id) {
        core.session.runStep([&] { core.identity.GetCDINFO(id); });
    }
    const DiscRecord& d() { return core.session.disc(); }

    // Every track title is `tracks[n]`, or nothing where the map has no entry.
    void expectTracks(const std::map<int, QString>& tracks, const std::string& why) {
        for (int n = 1; n <= DiscRecord::kMaxTracks; ++n) {
            const auto it = tracks.find(n);
            EXPECT_EQ(d().track(n), it == tracks.end() ? QString() : it->second) << why << " track " << n;
        }
    }

    int trackQueries() const { return count(mci.sent, kTrackQuery); }

    QStringList problems;
};

}  // namespace

TEST_F(GetCdInfoTest, NewDiscGetsADefaultSectionForTheDrivesTrackCount) {
    // A header without entries is no known disc.
    writeBytes(path(), "[1C02F203]\r\n");
    load(QStringLiteral("1C02F203"));
    EXPECT_EQ(readBytes(path()),
              "[1C02F203]\r\nTitle=Unknown Title\r\nArtist=Unknown Artist\r\nRevision=1\r\n"
              "NumberOfTracks=3\r\nTrack1=\r\nTrack2=\r\nTrack3=\r\n");
    EXPECT_EQ(d().ID, QStringLiteral("1C02F203"));
    EXPECT_EQ(d().Title, loaded("Unknown Title"));
    EXPECT_EQ(d().Artist, loaded("Unknown Artist"));
    EXPECT_EQ(d().Revision, 1);
    expectTracks({{1, NUL}, {2, NUL}, {3, NUL}}, "new");
    EXPECT_EQ(trackQueries(), 1);
}

TEST_F(GetCdInfoTest, ANewDiscsCdTextFillsItsSection) {
    // Two titles of three, one with a line break that would end its entry.
    mci.text = {QStringLiteral("Night Music"),
                QStringLiteral("The Ensemble"),
                {QStringLiteral("Prelude"), QString(), QStringLiteral("Coda\r\nreprise")}};
    load(QStringLiteral("1C02F203"));
    EXPECT_EQ(readBytes(path()),
              QByteArray("[1C02F203]\r\nTitle=Night Music\r\nArtist=The Ensemble\r\nRevision=1\r\n"
                         "NumberOfTracks=3\r\nTrack1=Prelude\r\nTrack2=\r\nTrack3=Coda  reprise\r\n"));
}

TEST_F(GetCdInfoTest, HandEditedSectionsLoadEveryEntryAndNothingOfThePreviousDisc) {
    struct Case {
        const char* name;
        QByteArray section;  // lines after the header
        QString title;
        int revision;
        std::map<int, QString> tracks;
    };
    // Longer than any fixed read buffer would hold.
    QByteArray longSection;
    std::map<int, QString> longTracks;
    for (int n = 1; n <= 30; ++n) {
        longSection += "Track" + QByteArray::number(n) + "=" + QByteArray(400, 'x') + "\n";
        longTracks[n] = QString(400, u'x') + NUL;
    }
    const Case cases[] = {
        {"'=' in a value", "Title=A=B\nRevision=2\nTrack1=x=y\n", loaded("A=B"), 2, {{1, loaded("x=y")}}},
        {"entries without '=' skipped", "Title\nTitle=T\nTrack1\n", loaded("T"), 0, {}},
        {"odd track keys ignored",
         "Track01=a\nTrack 2=b\nTrack100=c\nTrack+3=d\nTrack99=e\n",
         {},
         0,
         {{99, loaded("e")}}},
        {"revision out of range", "Revision=99999999999\n", {}, 0, {}},  // other numbers: ReplyParse
        {"values untrimmed, later entry wins", "Title= a \nTitle=b \n", loaded("b "), 0, {}},
        {"longer than a read buffer", longSection, {}, 0, longTracks},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path(), "[AB12CD34]\n" + c.section);
        // The record as the previous disc left it.
        disc().Title = loaded("Previous title");
        disc().Artist = loaded("Previous artist");
        disc().Revision = 9;
        disc().NumberOfTracks = 12;
        disc().Extra = QStringLiteral("extra");
        for (int n = 1; n <= 30; ++n) disc().track(n) = loaded("previous track");
        load(QStringLiteral("AB12CD34"));
        EXPECT_EQ(d().Title, c.title);
        EXPECT_TRUE(d().Artist.isEmpty());
        EXPECT_EQ(d().Revision, c.revision);
        expectTracks(c.tracks, c.name);
    }
    // A load sets the disc's texts only; a known disc asks the drive nothing.
    EXPECT_EQ(d().ID, QStringLiteral("AB12CD34"));
    EXPECT_EQ(d().NumberOfTracks, 12);
    EXPECT_EQ(d().Extra, QStringLiteral("extra"));
    EXPECT_EQ(trackQueries(), 0);
}

TEST_F(GetCdInfoTest, DefaultThatCannotBeStoredStillShowsAndIsReportedOnce) {
    ASSERT_TRUE(QDir().mkdir(path()));
    load(QStringLiteral("1C02F203"));
    load(QStringLiteral("1C02F203"));
    EXPECT_EQ(d().Title, loaded("Unknown Title"));
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains(path())) << problems[0].toStdString();
}

TEST_F(GetCdInfoTest, EmptyDiscIdOnlySaysNoDisc) {
    disc().Title = loaded("Previous title");
    load(QString());
    EXPECT_EQ(d().Artist, QStringLiteral("No Disc Loaded"));
    EXPECT_EQ(d().Title, loaded("Previous title"));
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_TRUE(mci.sent.empty());
}
