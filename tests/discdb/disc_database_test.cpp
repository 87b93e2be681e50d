#include "discdb/disc_database.h"

#include "discdb/profile_file.h"
#include "platform/mci_service.h"
#include "platform/message_box.h"
#include "player/mci_channel.h"
#include "shared/player_state.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

using namespace velmora;

namespace {

const QChar NUL(u'\0');
const char kTrackQuery[] = "status cd number of tracks wait";

// Answers the track-count query only, as a drive would.
class TrackCountMci final : public MciService {
public:
    std::string reply = "3";
    std::vector<std::string> commands;

    int sendString(const std::string& command, char* buffer, int length) override {
        commands.push_back(command);
        if (command != kTrackQuery) return 261;
        if (static_cast<int>(reply.size()) + 1 > length) return 268;
        std::memcpy(buffer, reply.c_str(), reply.size() + 1);
        return 0;
    }
    bool errorString(int, char*, int) const override { return false; }
};

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

class GetCdInfoTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TrackCountMci drive;
    RecordingMessageBoxes boxes;
    MciChannel channel{drive, boxes};
    PlayerState state;
    int shown = 0;

    QString path() const { return dir.filePath(QStringLiteral("Velmora.ini")); }

    void load(const QString& id, const QString& file = {}) {
        DiscDatabase db(file.isEmpty() ? path() : file);
        db.GetCDINFO(id, state, channel, [this] { ++shown; });
    }

    // The record as the previous disc left it.
    void fillWithPreviousDisc() {
        auto& d = state.CurrentDisc;
        d.ID = QStringLiteral("PREV0001");
        d.Title = loaded("Previous title");
        d.Artist = loaded("Previous artist");
        d.Revision = 9;
        d.NumberOfTracks = 12;
        d.Extra = QStringLiteral("extra");
        for (int n = 1; n <= 30; ++n) d.track(n) = loaded("previous track");
    }

    int trackQueries() const {
        int n = 0;
        for (const auto& c : drive.commands) n += c == kTrackQuery;
        return n;
    }
};

}  // namespace

TEST_F(GetCdInfoTest, NewDiscGetsTheDefaultSectionByteForByte) {
    load(QStringLiteral("1C02F203"));
    EXPECT_EQ(readBytes(path()),
              QByteArray("[1C02F203]\r\nTitle=Unknown Title\r\nArtist=Unknown Artist\r\nRevision=1\r\n"
                         "NumberOfTracks=3\r\nTrack1=\r\nTrack2=\r\nTrack3=\r\n"));
    const auto& d = state.CurrentDisc;
    EXPECT_EQ(d.ID, QStringLiteral("1C02F203"));
    EXPECT_EQ(d.Title, loaded("Unknown Title"));
    EXPECT_EQ(d.Artist, loaded("Unknown Artist"));
    EXPECT_EQ(d.Revision, 1);
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(d.track(n), QString(NUL)) << n;
    EXPECT_TRUE(d.track(4).isEmpty());
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(trackQueries(), 1);

    // Known now: loaded from the file without asking the drive or writing.
    const QByteArray before = readBytes(path());
    load(QStringLiteral("1C02F203"));
    EXPECT_EQ(trackQueries(), 1);
    EXPECT_EQ(readBytes(path()), before);
    EXPECT_EQ(shown, 2);
}

TEST_F(GetCdInfoTest, DefaultSectionFollowsTheDrivesTrackCount) {
    struct Case {
        const char* reply;
        int tracks;
    };
    const Case cases[] = {{"", 0}, {"abc", 0}, {"1", 1}, {"07", 7}, {"35", 35}, {"99999", 99}};
    for (const Case& c : cases) {
        drive.reply = c.reply;
        const QString id = QStringLiteral("ID%1").arg(QString::fromLatin1(c.reply));
        load(id);
        const auto entries = profile::readSection(path(), id).entries;
        ASSERT_EQ(entries.size(), 4 + c.tracks) << c.reply;
        EXPECT_EQ(entries.at(3), QStringLiteral("NumberOfTracks=%1").arg(c.tracks)) << c.reply;
        if (c.tracks > 0) {
            EXPECT_EQ(entries.last(), QStringLiteral("Track%1=").arg(c.tracks));
        }
        for (int n = 1; n <= 30; ++n)
            EXPECT_EQ(state.CurrentDisc.track(n), n <= c.tracks ? QString(NUL) : QString())
                << c.reply << " track " << n;
    }
}

TEST_F(GetCdInfoTest, HandEditedSectionsLoadEveryEntryAndNothingOfThePreviousDisc) {
    struct Case {
        const char* name;
        QByteArray section;  // lines after the header
        QString title, artist;
        int revision;
        std::vector<std::pair<int, QString>> tracks;  // checked tracks; all others empty
    };
    const Case cases[] = {
        {"'=' in a value", "Title=A=B\nArtist=C\nRevision=2\nTrack1=x=y\n", loaded("A=B"),
         loaded("C"), 2, {{1, loaded("x=y")}}},
        {"lower-case key not loaded", "title=X\nArtist=C\n", {}, loaded("C"), 0, {}},
        {"missing keys start empty", "Title=T\nTrack1=a\nTrack3=c\n", loaded("T"), {}, 0,
         {{1, loaded("a")}, {3, loaded("c")}}},
        {"'^' in a value loses nothing", "Title=AB\nArtist=C^D\nRevision=1\nTrack1=^\nTrack2=z\n",
         loaded("AB"), loaded("C^D"), 1, {{1, loaded("^")}, {2, loaded("z")}}},
        {"entries without '=' skipped", "Title\nTitle=T\nTrack1\n", loaded("T"), {}, 0, {}},
        {"odd track keys ignored", "Track01=a\nTrack 2=b\nTrack31=c\nTrack+3=d\nTrack30=e\n", {},
         {}, 0, {{30, loaded("e")}}},
        {"revision not a number", "Revision=abc\nTitle=T\n", loaded("T"), {}, 0, {}},
        {"revision out of range", "Revision=99999999999\n", {}, {}, 0, {}},
        {"revision with blanks", "Revision= 7 \n", {}, {}, 7, {}},
        {"values untrimmed, later entry wins", "Title= a \nTitle=b \n", loaded("b "), {}, 0, {}},
        {"LF, CRLF and comments", "; hand-made\r\nTitle=T\n;Artist=no\r\nArtist=A\r\n", loaded("T"),
         loaded("A"), 0, {}},
        {"Windows-1252 bytes", "Title=Caf\xE9\nArtist=D\xFCsseldorf \x96 live\n",
         loaded("Caf\xC3\xA9"), loaded("D\xC3\xBCsseldorf \xE2\x80\x93 live"), 0, {}},
    };
    for (const Case& c : cases) {
        writeBytes(path(), "[AB12CD34]\n" + c.section);
        fillWithPreviousDisc();
        load(QStringLiteral("AB12CD34"));
        const auto& d = state.CurrentDisc;
        EXPECT_EQ(d.Title, c.title) << c.name;
        EXPECT_EQ(d.Artist, c.artist) << c.name;
        EXPECT_EQ(d.Revision, c.revision) << c.name;
        for (int n = 1; n <= 30; ++n) {
            QString expected;
            for (const auto& [track, text] : c.tracks)
                if (track == n) expected = text;
            EXPECT_EQ(d.track(n), expected) << c.name << " track " << n;
        }
        EXPECT_EQ(d.ID, QStringLiteral("AB12CD34")) << c.name;
        EXPECT_EQ(d.NumberOfTracks, 12) << c.name;
        EXPECT_EQ(d.Extra, QStringLiteral("extra")) << c.name;
        EXPECT_EQ(trackQueries(), 0) << c.name;
    }
}

TEST_F(GetCdInfoTest, SectionNameMatchesWithoutRegardToCase) {
    writeBytes(path(), "[ab12cd34]\nTitle=T\n");
    load(QStringLiteral("AB12CD34"));
    EXPECT_EQ(state.CurrentDisc.Title, loaded("T"));
    EXPECT_EQ(trackQueries(), 0);
}

TEST_F(GetCdInfoTest, HeaderWithoutEntriesIsReplacedByTheDefault) {
    writeBytes(path(), "[A1]\r\nTitle=a\r\n[1C02F203]\r\n; nothing here\r\n[B2]\r\nTitle=b\r\n");
    load(QStringLiteral("1C02F203"));
    EXPECT_EQ(readBytes(path()),
              QByteArray("[A1]\r\nTitle=a\r\n[1C02F203]\r\nTitle=Unknown Title\r\n"
                         "Artist=Unknown Artist\r\nRevision=1\r\nNumberOfTracks=3\r\nTrack1=\r\n"
                         "Track2=\r\nTrack3=\r\n[B2]\r\nTitle=b\r\n"));
    EXPECT_EQ(state.CurrentDisc.Title, loaded("Unknown Title"));
}

TEST_F(GetCdInfoTest, NewDiscLeavesEveryOtherDiscsBytesIntact) {
    const QByteArray before =
        "; written elsewhere\n[0A0B0C0D]\nTitle=Caf\xE9\nTrack1=Un\n\n[0E0F1011]\r\nTitle=X\r\n";
    writeBytes(path(), before);
    load(QStringLiteral("1C02F203"));
    const QByteArray after = readBytes(path());
    EXPECT_TRUE(after.startsWith(before));
    EXPECT_TRUE(after.mid(before.size()).startsWith("[1C02F203]\r\n"));
    EXPECT_EQ(profile::readSection(path(), QStringLiteral("0A0B0C0D")).entries,
              (QStringList{QStringLiteral("Title=Caf\u00e9"), QStringLiteral("Track1=Un")}));
}

TEST_F(GetCdInfoTest, ThirtyFiveTrackDiscLoadsTrackOneToThirty) {
    drive.reply = "35";
    load(QStringLiteral("5A1B2C23"));
    const QByteArray file = readBytes(path());
    EXPECT_TRUE(file.contains("NumberOfTracks=35\r\n"));
    EXPECT_TRUE(file.endsWith("Track34=\r\nTrack35=\r\n"));
    for (int n = 1; n <= 30; ++n) EXPECT_EQ(state.CurrentDisc.track(n), QString(NUL));
}

TEST_F(GetCdInfoTest, SectionLongerThanTheReadBufferLoadsWhole) {
    QByteArray section = "[LONG0001]\nTitle=Long\nArtist=A\n";
    for (int n = 1; n <= 30; ++n)
        section += "Track" + QByteArray::number(n) + "=" + QByteArray(400, char('a' + n % 26)) + "\n";
    ASSERT_GT(section.size(), 12000);
    writeBytes(path(), section);
    load(QStringLiteral("LONG0001"));
    for (int n = 1; n <= 30; ++n)
        EXPECT_EQ(state.CurrentDisc.track(n), QString(400, QChar(u'a' + n % 26)) + NUL) << n;
}

TEST_F(GetCdInfoTest, DefaultThatCannotBeStoredStillShows) {
    // The database's folder is a regular file: nothing can be written there.
    writeBytes(dir.filePath(QStringLiteral("plain")), "x");
    fillWithPreviousDisc();
    load(QStringLiteral("1C02F203"), dir.filePath(QStringLiteral("plain/Velmora.ini")));
    const auto& d = state.CurrentDisc;
    EXPECT_EQ(d.Title, loaded("Unknown Title"));
    EXPECT_EQ(d.Artist, loaded("Unknown Artist"));
    EXPECT_EQ(d.Revision, 1);
    for (int n = 1; n <= 30; ++n) EXPECT_EQ(d.track(n), n <= 3 ? QString(NUL) : QString()) << n;
    EXPECT_EQ(d.ID, QStringLiteral("1C02F203"));
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(GetCdInfoTest, EmptyDiscIdOnlySaysNoDisc) {
    fillWithPreviousDisc();
    load(QString());
    const auto& d = state.CurrentDisc;
    EXPECT_EQ(d.Artist, QStringLiteral("No Disc Loaded"));
    EXPECT_EQ(d.Title, loaded("Previous title"));
    EXPECT_EQ(d.ID, QStringLiteral("PREV0001"));
    EXPECT_EQ(d.track(1), loaded("previous track"));
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_EQ(shown, 0);
    EXPECT_TRUE(drive.commands.empty());
}

TEST(DiscDatabasePath, BesideAWritableProgramFolderElseInTheUsersDataFolder) {
    QTemporaryDir program, data;
    EXPECT_EQ(discDatabasePath(program.path()), program.path() + QStringLiteral("/Velmora.ini"));

    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    // A program folder that is no folder at all cannot take the file.
    const QString missing = program.filePath(QStringLiteral("gone"));
    const QString own = discDatabasePath(missing);
    EXPECT_EQ(own, data.path() + QStringLiteral("/velmora/Velmora.ini"));
    EXPECT_TRUE(QFileInfo(data.path() + QStringLiteral("/velmora")).isDir());

    if (geteuid() != 0) {
        // A read-only program folder with a database: the user's copy starts from it.
        QFile seed(program.filePath(QStringLiteral("Velmora.ini")));
        ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
        seed.write("[A1]\nTitle=T\n");
        seed.close();
        QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
        QFile::remove(own);
        EXPECT_EQ(discDatabasePath(program.path()), own);
        EXPECT_EQ(readBytes(own), QByteArray("[A1]\nTitle=T\n"));
        QFile::setPermissions(program.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    if (saved.isNull()) qunsetenv("XDG_DATA_HOME");
    else qputenv("XDG_DATA_HOME", saved);
}
