// velmora-cli run as a program: lines in, lines out, exit codes; lookups against loopback.
#include "cddb/cddb_request.h"
#include "loopback_http_server.h"
#include "musicbrainz_answers.h"
#include "settings/qsettings_registry.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <sys/stat.h>

namespace velmora::test {
namespace {

using Answer = LoopbackHttpServer::Answer;

const QString kCli = QStringLiteral(VELMORA_RUNTIME_DIR "/velmora-cli");
// Tracks at 00:02:00, 03:10:40, 07:55:01; length 12:34:56: disc ID 1C02F203.
constexpr char kWorkedExample[] = "track 1 150 audio\ntrack 2 14290 audio\ntrack 3 35626 audio\nleadout 56757\n";
constexpr char kDiscId[] = "1c02f203";  // as the lookup window sends it: lower case
const Answer kNotHere = LoopbackHttpServer::reply("401 rock 1c02f203 No such CD entry in database.\r\n");

QByteArray record() {
    return "210 jazz 1c02f203 CD database entry follows\r\n"
           "DTITLE=AC/DC Tribute / Live at the Hall\r\nTTITLE0=Opening\r\nTTITLE2=Closing\r\n.\r\n";
}

struct CliRun {
    int exitCode = -1;  // -2: crashed; -1: did not start or did not end
    QString out;
    QString err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFileInfo(kCli).isExecutable()) << "build velmora-cli first: " << kCli.toStdString();
    }

    QString writeDisc(const QByteArray& text) {
        const QString path = dir.filePath(QStringLiteral("d.disc"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        return path;
    }

    // Runs velmora-cli on `drive`, handling events meanwhile: the test's server runs on this thread.
    CliRun run(const QStringList& args, const QString& drive, const QByteArray& input = {}) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("VELMORA_MCI_LOG"));
        environment.insert(QStringLiteral("VELMORA_DRIVE"), drive);
        environment.insert(QStringLiteral("VELMORA_HOME"), dir.path());
        process.setProcessEnvironment(environment);
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        process.start(kCli, args);
        CliRun result;
        if (!process.waitForStarted(10000)) return result;
        process.write(input);
        process.closeWriteChannel();
        if (process.state() != QProcess::NotRunning) loop.exec();
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    }

    QString serverPath() const { return server.hostPort() + QStringLiteral("/~cddb/cddb.cgi"); }

    QTemporaryDir dir;
    LoopbackHttpServer server;
};

TEST_F(CliTest, MciAnswersOneLinePerCommand) {
    const QString disc = writeDisc("track 1 150 audio\ntrack 2 20000 audio\nleadout 60000\n");
    // One device for the whole run: opened by the first line, closed by the last but one.
    const std::pair<const char*, const char*> exchange[] = {
        {"open cdaudio alias cd wait shareable\n", "0\t1\t"},
        {"status cd number of tracks wait\r\n", "0\t2\t"},
        {"bogus\n", "261\t\tThe driver cannot recognize the specified command."},
        {"close all\n", "0\t\t"},
        {"status cd mode", "263\t\tThe specified device is not open or is not recognized by MCI."},  // no newline
    };
    QByteArray input;
    QString expected;
    for (const auto& [command, reply] : exchange) {
        input += command;
        expected += QString::fromUtf8(reply) + u'\n';
    }
    const CliRun result = run({QStringLiteral("mci")}, QStringLiteral("sim:") + disc, input);
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, expected);
    EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
}

TEST_F(CliTest, DiscIdPrintsTheIdOrSaysWhy) {
    const struct {
        const char* name;
        QByteArray disc;  // empty: no drive at all
        int exitCode;
        QString out;
        QString errPart;  // "@" stands for the disc file
    } cases[] = {
        {"the worked example", kWorkedExample, 0, "1C02F203\n", {}},
        {"a broken disc file", "track 1 150 audio\ntrack 3 900 audio\nleadout 2000\n", 5, {}, "@:2:"},
        {"no drive", {}, 1, {}, "problem in loading the specified device driver"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString disc = c.disc.isEmpty() ? dir.filePath(QStringLiteral("no-such-device")) : writeDisc(c.disc);
        const CliRun result = run({QStringLiteral("discid")}, c.disc.isEmpty() ? disc : QStringLiteral("sim:") + disc);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err.toStdString();
        EXPECT_EQ(result.out, c.out);
        EXPECT_TRUE(result.err.contains(QString(c.errPart).replace(u'@', disc))) << result.err.toStdString();
    }
}

TEST_F(CliTest, InfoStoresANewDiscsDefaultShowsHandEditsAndLeavesAnEmptyDriveAlone) {
    const QString database = dir.filePath(QStringLiteral("Velmora.ini"));
    CliRun result = run({"info"}, QStringLiteral("sim:"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_FALSE(QFile::exists(database));

    const QString drive = QStringLiteral("sim:") + writeDisc(kWorkedExample);
    result = run({"info"}, drive);
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out,
              "ID=1C02F203\nTitle=Unknown Title\nArtist=Unknown Artist\nRevision=1\nTrack1=\nTrack2=\nTrack3=\n");

    // Edited by hand in a single-byte code page.
    QFile file(database);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[1C02F203]\nTitle=Caf\xE9 live\nArtist=X\nTrack2=Deux\n");
    file.close();
    result = run({"info"}, drive);
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out,
              QString::fromUtf8(
                  "ID=1C02F203\nTitle=Caf\xC3\xA9 live\nArtist=X\nRevision=0\nTrack1=\nTrack2=Deux\nTrack3=\n"));
}

// What the player shows in a box when the disc database cannot be used.
TEST_F(CliTest, InfoGivesNoTitlesAndExitsWithTheFileProblemCodeWhenTheDatabaseCannotBeUsed) {
    const QString database = dir.filePath(QStringLiteral("Velmora.ini"));
    const QString drive = QStringLiteral("sim:") + writeDisc(kWorkedExample);
    const auto write = [&](const QByteArray& bytes) {
        QFile file(database);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    const struct {
        const char* name;
        std::function<bool()> make;
        const char* says;
    } cases[] = {
        {"a folder", [&] { return QDir().mkdir(database); }, "is a folder"},
        {"a named pipe", [&] { return ::mkfifo(QFile::encodeName(database).constData(), 0600) == 0; },
         "is a named pipe"},
        {"a link to /dev/zero", [&] { return QFile::link(QStringLiteral("/dev/zero"), database); },
         "is not a regular file"},
        {"UTF-16 with half a character", [&] { return write(QByteArray("\xFF\xFE[\0\x00\xD8]\0", 8)); },
         "not valid UTF-16"},
        {"read-only, the disc not in it",
         [&] { return write("[OTHER]\r\nTitle=x\r\n") && QFile::setPermissions(database, QFile::ReadOwner); },
         "read-only"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(database);
        QDir(database).removeRecursively();
        ASSERT_TRUE(c.make());
        const CliRun result = run({"info"}, drive);
        EXPECT_EQ(result.exitCode, 5) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
        EXPECT_TRUE(result.err.contains(QLatin1String(c.says))) << result.err.toStdString();
    }
}

TEST_F(CliTest, UsageErrors) {
    struct Case {
        QStringList args;
        int exitCode;
        const char* says;  // on stdout for exit code 0, else on stderr
    } cases[] = {
        {{}, 2, "usage: velmora-cli"},
        {{QStringLiteral("frobnicate")}, 2, "unknown command \"frobnicate\""},
        {{QStringLiteral("mci"), QStringLiteral("extra")}, 2, "mci takes no arguments"},
        {{QStringLiteral("--help")}, 0, "discid"},
    };
    for (const auto& c : cases) {
        const CliRun result = run(c.args, QStringLiteral("sim:"));
        EXPECT_EQ(result.exitCode, c.exitCode) << c.says;
        EXPECT_TRUE((c.exitCode == 0 ? result.out : result.err).contains(QLatin1String(c.says))) << c.says;
    }
}

// Which sections are asked, and in what order, is the query's business (CddbQuery tests).
TEST_F(CliTest, LookupPrintsTheMergedRecordOrSaysWhyNot) {
    const struct {
        const char* name;
        Answer answer;  // to every request
        int exitCode;
        QString out;
        QString errPart;
        bool emptyDrive = false;
    } cases[] = {
        {"found",
         LoopbackHttpServer::reply(record()),
         0,
         "Artist=AC/DC Tribute\nTitle=Live at the Hall\nTrack1=Opening\nTrack3=Closing\nSource=cddb\n",
         {}},
        {"in no section", kNotHere, 3, "Record Not Found\n", {}},
        {"the server drops the connection",
         LoopbackHttpServer::of(Answer::Kind::Close),
         4,
         {},
         QStringLiteral("CDDB Server Error: Connection Closed By The CDDB Server")},
        {"the server refuses, in its own words",
         LoopbackHttpServer::reply("500 Unknown developer email\r\n"),
         4,
         {},
         QStringLiteral("\"500 Unknown developer email\"")},
        {"an empty drive", kNotHere, 1, {}, QStringLiteral("no audio disc"), true},
    };
    const QString disc = writeDisc(kWorkedExample);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.script = [&](const LoopbackHttpServer::Request&, int) { return c.answer; };
        const QString drive = QStringLiteral("sim:") + (c.emptyDrive ? QString() : disc);
        const CliRun result =
            run({QStringLiteral("lookup"), QStringLiteral("--source=cddb"), QStringLiteral("--server"), serverPath()},
                drive);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err.toStdString();
        EXPECT_EQ(result.out, c.out);
        if (c.errPart.isEmpty()) EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
        else EXPECT_TRUE(result.err.contains(c.errPart)) << result.err.toStdString();
    }
}

TEST_F(CliTest, LookupAsksTheServerAndUserOfTheSettingsUnlessGiven) {
    SettingsStore store(qsettingsRegistryFactory(dir.filePath(QStringLiteral("settings.ini"))));
    ASSERT_FALSE(store.write(settings::CDDBServer, serverPath()));
    ASSERT_FALSE(store.write(settings::UserName, QStringLiteral("jo smith&co")));
    ASSERT_FALSE(store.write(settings::MusicBrainzServer, "http://" + server.hostPort()));
    server.script = [](const LoopbackHttpServer::Request& request, int) {
        return request.target.startsWith("/ws/2/") ? LoopbackHttpServer::reply(mb::kNotFound, 404)
                                                   : LoopbackHttpServer::reply(record());
    };
    const CliRun result = run({QStringLiteral("lookup")}, QStringLiteral("sim:") + writeDisc(kWorkedExample));
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    // MusicBrainz by ID and by table of contents, then the CDDB server's first section.
    ASSERT_EQ(server.requests.size(), 3u);
    EXPECT_TRUE(server.requests[1].target.contains("toc=1+3+56757+150+14290+35626"));
    // As the lookup window asks, the server seeing only the request target.
    const QUrl url(cddbReadUrl(kCddbCategories[0], {serverPath(), QStringLiteral("jo smith&co"), kDiscId}));
    EXPECT_EQ(server.requests[2].target.toStdString(),
              url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority).toStdString());

    // Settings that cannot be read: the reason, no lookup.
    QFile::remove(dir.filePath(QStringLiteral("settings.ini")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("settings.ini")));
    const CliRun refused = run({QStringLiteral("lookup")}, QStringLiteral("sim:") + writeDisc(kWorkedExample));
    EXPECT_EQ(refused.exitCode, 5);
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_TRUE(refused.err.contains(QLatin1String("it is a folder"))) << refused.err.toStdString();
    EXPECT_EQ(server.requests.size(), 3u) << "no request after a refused settings file";
}

// MusicBrainz first: its record with its source and release, the front cover written where
// asked; no control character of a title reaches the terminal.
TEST_F(CliTest, LookupAsksMusicBrainzFirstAndWritesTheCover) {
    const QByteArray jpeg = QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(100, 'c');
    server.script = [&](const LoopbackHttpServer::Request& request, int) {
        if (request.target.startsWith("/release/mbid-1/front-250")) return LoopbackHttpServer::reply(jpeg);
        Answer a = LoopbackHttpServer::reply(
            mb::answer({}, {mb::release("mbid-1", QString::fromUtf8("Caf\u00e9\x1b[2J"), {{"A", " feat. "}, {"B", ""}},
                                        "", "", {{{"One", "Two\tParts", "Three"}, {}}})}));
        a.contentType = "application/json";
        return a;
    };
    const QString cover = dir.filePath(QStringLiteral("cover.jpg"));
    const CliRun result = run({"lookup", "--musicbrainz", "http://" + server.hostPort(), "--coverart",
                               "http://" + server.hostPort(), "--cover", cover},
                              QStringLiteral("sim:") + writeDisc(kWorkedExample));
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, QString::fromUtf8("Artist=A feat. B\nTitle=Caf\u00e9[2J\nTrack1=One\nTrack2=Two Parts\n"
                                            "Track3=Three\nSource=musicbrainz\nRelease=mbid-1\n"));
    QFile written(cover);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), jpeg);
    EXPECT_EQ(run({"lookup", "--source", "everywhere"}, QStringLiteral("sim:")).exitCode, 2);
}

}  // namespace
}  // namespace velmora::test
