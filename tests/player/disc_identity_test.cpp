#include "player_fixture.h"

#include <QDir>
#include <QFile>

#include <map>
#include <string>

using namespace velmora;
using namespace velmora::test;

namespace {

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

// The disc database as the player loads a disc from it.
class GetCdInfoTest : public PlayerFixture {
protected:
    GetCdInfoTest() {
        QFile::remove(path());  // no disc known yet
        mci.answer(kTrackQuery, "3");
        QObject::connect(&core.session, &PlayerSession::problem, [this](const QString& text) { problems << text; });
    }

    QString path() const { return database.filePath(); }
    void load(const QString& id) { core.identity.GetCDINFO(id); }
    const DiscRecord& d() { return core.session.disc(); }

    // Every track title is `tracks[n]`, or nothing where the map has no entry.
    void expectTracks(const std::map<int, QString>& tracks, const std::string& why) {
        for (int n = 1; n <= kMaxTracks; ++n) {
            const auto it = tracks.find(n);
            EXPECT_EQ(d().track(n), it == tracks.end() ? QString() : it->second) << why << " track " << n;
        }
    }

    int trackQueries() const { return count(mci.sent, kTrackQuery); }

    // The record as a previous disc, edited in the editor, left it.
    void previousDisc() {
        DiscRecord previous = d();
        previous.Title = QStringLiteral("Previous title");
        previous.Artist = QStringLiteral("Previous artist");
        previous.Revision = 9;
        previous.NumberOfTracks = 12;
        previous.Extra = QStringLiteral("extra");
        for (int n = 1; n <= 30; ++n) previous.track(n) = QStringLiteral("previous track");
        core.session.takeEditedDisc(previous.ID, previous);
    }

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
    EXPECT_EQ(d().Title, "Unknown Title");
    EXPECT_EQ(d().Artist, "Unknown Artist");
    EXPECT_EQ(d().Revision, 1);
    expectTracks({}, "new");
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
        longTracks[n] = QString(400, u'x');
    }
    const Case cases[] = {
        {"'=' in a value", "Title=A=B\nRevision=2\nTrack1=x=y\n", "A=B", 2, {{1, "x=y"}}},
        {"entries without '=' skipped", "Title\nTitle=T\nTrack1\n", "T", 0, {}},
        {"odd track keys ignored", "Track01=a\nTrack 2=b\nTrack100=c\nTrack+3=d\nTrack99=e\n", {}, 0, {{99, "e"}}},
        {"revision out of range", "Revision=99999999999\n", {}, 0, {}},  // other numbers: ReplyParse
        {"values untrimmed, later entry wins", "Title= a \nTitle=b \n", "b ", 0, {}},
        {"longer than a read buffer", longSection, {}, 0, longTracks},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path(), "[AB12CD34]\n" + c.section);
        previousDisc();
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
    EXPECT_EQ(d().Title, "Unknown Title");
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains(path())) << problems[0].toStdString();
}

TEST_F(GetCdInfoTest, AnEmptyDiscIdLoadsNothing) {
    previousDisc();
    const DiscRecord before = d();
    load(QString());
    EXPECT_EQ(d().Title, before.Title);
    EXPECT_EQ(d().ID, before.ID);
    EXPECT_TRUE(mci.sent.empty());
}
