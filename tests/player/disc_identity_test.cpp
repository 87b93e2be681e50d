#include "discdb/profile_file.h"
#include "player_fixture.h"

#include <QFile>

#include <map>
#include <string>

using namespace velmora;
using namespace velmora::test;

namespace {

const QChar NUL(u'\0');
const char kTrackQuery[] = "status cd number of tracks wait";
const QByteArray kDefault3 =
    "Title=Unknown Title\r\nArtist=Unknown Artist\r\nRevision=1\r\nNumberOfTracks=3\r\nTrack1=\r\nTrack2=\r\nTrack3=\r\n";

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

    void load(const QString& id, const QString& file = {}) {
        if (file.isEmpty()) {
            core.session.runStep([&] { core.identity.GetCDINFO(id); });
            return;
        }
        DiscDatabase elsewhere(file);
        DiscIdentity identity(core.session, elsewhere);
        core.session.runStep([&] { identity.GetCDINFO(id); });
    }
    const DiscRecord& d() { return core.session.disc(); }

    // The record as the previous disc left it.
    void fillWithPreviousDisc() {
        auto& previous = disc();
        previous.ID = QStringLiteral("PREV0001");
        previous.Title = loaded("Previous title");
        previous.Artist = loaded("Previous artist");
        previous.Revision = 9;
        previous.NumberOfTracks = 12;
        previous.Extra = QStringLiteral("extra");
        for (int n = 1; n <= 30; ++n) previous.track(n) = loaded("previous track");
    }

    // Every track title is `tracks[n]`, or nothing where the map has no entry.
    void expectTracks(const std::map<int, QString>& tracks, const std::string& why) {
        for (int n = 1; n <= DiscRecord::kMaxTracks; ++n) {
            const auto it = tracks.find(n);
            EXPECT_EQ(d().track(n), it == tracks.end() ? QString() : it->second) << why << " track " << n;
        }
    }
    // Tracks 1..count loaded empty, as a new disc's default section gives them.
    void expectDefaultTracks(int count, const std::string& why) {
        std::map<int, QString> tracks;
        for (int n = 1; n <= count; ++n) tracks[n] = QString(NUL);
        expectTracks(tracks, why);
    }

    int trackQueries() const { return count(mci.sent, kTrackQuery); }

    QStringList problems;
};

}  // namespace

TEST_F(GetCdInfoTest, NewDiscGetsTheDefaultSectionInPlaceAndIsThenKnown) {
    // A header without entries, between two other discs, is replaced in place.
    writeBytes(path(), "[A1]\r\nTitle=a\r\n[1C02F203]\r\n; nothing here\r\n[B2]\r\nTitle=b\r\n");
    load(QStringLiteral("1C02F203"));
    EXPECT_EQ(readBytes(path()), "[A1]\r\nTitle=a\r\n[1C02F203]\r\n" + kDefault3 + "[B2]\r\nTitle=b\r\n");
    EXPECT_EQ(d().ID, QStringLiteral("1C02F203"));
    EXPECT_EQ(d().Title, loaded("Unknown Title"));
    EXPECT_EQ(d().Artist, loaded("Unknown Artist"));
    EXPECT_EQ(d().Revision, 1);
    expectDefaultTracks(3, "new");
    EXPECT_EQ(trackQueries(), 1);

    // Known now: loaded from the file without asking the drive or writing.
    const QByteArray before = readBytes(path());
    load(QStringLiteral("1C02F203"));
    EXPECT_EQ(trackQueries(), 1);
    EXPECT_EQ(readBytes(path()), before);
}

TEST_F(GetCdInfoTest, ANewDiscsCdTextFillsItsSectionAndAKnownDiscKeepsItsOwn) {
    // Two titles of three, one with a line break that would end its entry.
    mci.text = {QStringLiteral("Night Music"), QStringLiteral("The Ensemble"),
                {QStringLiteral("Prelude"), QString(), QStringLiteral("Coda\r\nreprise")}};
    load(QStringLiteral("1C02F203"));
    EXPECT_EQ(readBytes(path()),
              QByteArray("[1C02F203]\r\nTitle=Night Music\r\nArtist=The Ensemble\r\nRevision=1\r\n"
                         "NumberOfTracks=3\r\nTrack1=Prelude\r\nTrack2=\r\nTrack3=Coda  reprise\r\n"));
    EXPECT_EQ(d().Title, loaded("Night Music"));
    EXPECT_EQ(d().track(1), loaded("Prelude"));

    // What the user has typed since stays, whatever the disc says.
    ASSERT_TRUE(profile::writeSection(path(), QStringLiteral("1C02F203"),
                                      {QStringLiteral("Title=Typed"), QStringLiteral("Track1=Mine")}));
    load(QStringLiteral("1C02F203"));
    EXPECT_EQ(d().Title, loaded("Typed"));
    EXPECT_EQ(d().track(1), loaded("Mine"));

    // A disc whose CD-Text is only a performer keeps the default title.
    mci.text = {QString(), QStringLiteral("Solo"), {}};
    load(QStringLiteral("AA000003"));
    EXPECT_EQ(d().Title, loaded("Unknown Title"));
    EXPECT_EQ(d().Artist, loaded("Solo"));
}

TEST_F(GetCdInfoTest, DefaultSectionFollowsTheDrivesTrackCount) {
    const std::pair<const char*, int> cases[] = {{"", 0}, {"abc", 0}, {"1", 1}, {"07", 7}, {"35", 35}, {"99999", 99}};
    for (const auto& [reply, tracks] : cases) {
        mci.answer(kTrackQuery, reply);
        const QString id = QStringLiteral("ID%1").arg(QString::fromLatin1(reply));
        load(id);
        const auto entries = profile::readSection(path(), id).entries;
        ASSERT_EQ(entries.size(), 4 + tracks) << reply;
        EXPECT_EQ(entries.at(3), QStringLiteral("NumberOfTracks=%1").arg(tracks)) << reply;
        if (tracks > 0) {
            EXPECT_EQ(entries.last(), QStringLiteral("Track%1=").arg(tracks));
        }
        expectDefaultTracks(tracks, reply);
    }
}

TEST_F(GetCdInfoTest, HandEditedSectionsLoadEveryEntryAndNothingOfThePreviousDisc) {
    struct Case {
        const char* name;
        QByteArray section;  // lines after the header
        QString title, artist;
        int revision;
        std::map<int, QString> tracks;
    };
    const Case cases[] = {
        {"'=' in a value", "Title=A=B\nArtist=C\nRevision=2\nTrack1=x=y\n", loaded("A=B"), loaded("C"), 2,
         {{1, loaded("x=y")}}},
        {"lower-case key not loaded", "title=X\nArtist=C\n", {}, loaded("C"), 0, {}},
        {"missing keys start empty", "Title=T\nTrack1=a\nTrack3=c\n", loaded("T"), {}, 0,
         {{1, loaded("a")}, {3, loaded("c")}}},
        {"'^' in a value loses nothing", "Title=AB\nArtist=C^D\nRevision=1\nTrack1=^\nTrack2=z\n", loaded("AB"),
         loaded("C^D"), 1, {{1, loaded("^")}, {2, loaded("z")}}},
        {"entries without '=' skipped", "Title\nTitle=T\nTrack1\n", loaded("T"), {}, 0, {}},
        {"odd track keys ignored", "Track01=a\nTrack 2=b\nTrack100=c\nTrack+3=d\nTrack99=e\n", {}, {}, 0,
         {{99, loaded("e")}}},
        {"revision out of range", "Revision=99999999999\n", {}, {}, 0, {}},  // other numbers: ReplyParse
        {"values untrimmed, later entry wins", "Title= a \nTitle=b \n", loaded("b "), {}, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path(), "[AB12CD34]\n" + c.section);
        fillWithPreviousDisc();
        load(QStringLiteral("AB12CD34"));
        EXPECT_EQ(d().Title, c.title);
        EXPECT_EQ(d().Artist, c.artist);
        EXPECT_EQ(d().Revision, c.revision);
        expectTracks(c.tracks, c.name);
        EXPECT_EQ(d().ID, QStringLiteral("AB12CD34"));
        EXPECT_EQ(d().NumberOfTracks, 12);
        EXPECT_EQ(d().Extra, QStringLiteral("extra"));
        EXPECT_EQ(trackQueries(), 0);
    }
}

TEST_F(GetCdInfoTest, SectionLongerThanTheReadBufferLoadsWhole) {
    QByteArray section = "[LONG0001]\nTitle=Long\nArtist=A\n";
    for (int n = 1; n <= 30; ++n)
        section += "Track" + QByteArray::number(n) + "=" + QByteArray(400, char('a' + n % 26)) + "\n";
    ASSERT_GT(section.size(), 12000);
    writeBytes(path(), section);
    load(QStringLiteral("LONG0001"));
    for (int n = 1; n <= 30; ++n) EXPECT_EQ(d().track(n), QString(400, QChar(u'a' + n % 26)) + NUL) << n;
}

TEST_F(GetCdInfoTest, DefaultThatCannotBeStoredStillShowsAndIsReportedOnce) {
    // The database's folder is a regular file: nothing can be written there.
    writeBytes(dir.filePath(QStringLiteral("plain")), "x");
    const QString file = dir.filePath(QStringLiteral("plain/Velmora.ini"));
    fillWithPreviousDisc();
    load(QStringLiteral("1C02F203"), file);
    load(QStringLiteral("1C02F203"), file);
    EXPECT_EQ(d().ID, QStringLiteral("1C02F203"));
    EXPECT_EQ(d().Title, loaded("Unknown Title"));
    expectDefaultTracks(3, "unstored");
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains(file)) << problems[0].toStdString();
}

TEST_F(GetCdInfoTest, EmptyDiscIdOnlySaysNoDisc) {
    fillWithPreviousDisc();
    load(QString());
    EXPECT_EQ(d().Artist, QStringLiteral("No Disc Loaded"));
    EXPECT_EQ(d().Title, loaded("Previous title"));
    EXPECT_EQ(d().ID, QStringLiteral("PREV0001"));
    EXPECT_EQ(d().track(1), loaded("previous track"));
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_TRUE(mci.sent.empty());
}
