// velmora-cli lookup run as a program against a CDDB server on loopback.
#include "cddb/cddb_request.h"
#include "cli_run.h"
#include "loopback_http_server.h"
#include "settings/qsettings_registry.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

namespace velmora::test {
namespace {

using Answer = LoopbackHttpServer::Answer;

// The worked example: three tracks whose CDDB disc ID is 1C02F203.
constexpr char kDisc[] = "track 1 150 audio\ntrack 2 14290 audio\ntrack 3 35626 audio\nleadout 56757\n";
constexpr char kDiscId[] = "1c02f203";  // as the window sends it: lower case
const Answer kNotHere = LoopbackHttpServer::reply("401 rock 1c02f203 No such CD entry in database.\r\n");

QByteArray record() {
    return "210 jazz 1c02f203 CD database entry follows\r\n"
           "DTITLE=AC/DC Tribute / Live at the Hall\r\n"
           "TTITLE0=Opening\r\nTTITLE1=A long title \r\nTTITLE1=in two lines\r\nTTITLE2=Tab\\there\r\n.\r\n";
}

class CliLookup : public ::testing::Test {
protected:
    void SetUp() override {
        QFile file(dir.filePath(QStringLiteral("disc.disc")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kDisc);
    }

    CliRun lookup(const QStringList& args, const QString& drive) {
        return runCli(QStringList{QStringLiteral("lookup")} + args,
                      {{QStringLiteral("VELMORA_DRIVE"), drive}, {QStringLiteral("VELMORA_HOME"), dir.path()}});
    }

    QString serverPath() const { return server.hostPort() + QStringLiteral("/~cddb/cddb.cgi"); }
    // What the lookup window would send for `section`, as the server sees the request target.
    QByteArray expectedTarget(int section, const QString& user) const {
        const QUrl url(cddbReadUrl(kCddbCategories[static_cast<std::size_t>(section)], {serverPath(), user, kDiscId}));
        return url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority);
    }

    QTemporaryDir dir;
    LoopbackHttpServer server;
};

TEST_F(CliLookup, PrintsTheMergedRecordOrSaysWhyNot) {
    const QString timedOut = QStringLiteral("Request Timed Out");
    const struct {
        const char* name;
        int foundAt;      // the section whose answer is the record; -1 none
        Answer failure;   // answers every section from the second on when foundAt is -2
        int exitCode;
        QString out;
        QString errPart;
        int asked;
        bool emptyDrive = false;
    } cases[] = {
        {"found in the fifth section", 4, {}, 0,
         "Artist=AC/DC Tribute\nTitle=Live at the Hall\nTrack1=Opening\nTrack2=A long title in two lines\n"
         "Track3=Tab here\n",
         {}, 5},
        {"in no section", -1, {}, 3, "Record Not Found\n", {}, 10},
        {"the server drops the connection", -2, LoopbackHttpServer::of(Answer::Kind::Close), 4, {},
         QStringLiteral("CDDB Server Error: ") + timedOut, 2},
        {"an empty drive", -1, {}, 1, {}, QStringLiteral("no audio disc"), 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.requests.clear();
        server.script = [&](const LoopbackHttpServer::Request&, int i) {
            if (c.foundAt == -2) return i == 0 ? kNotHere : c.failure;
            return i == c.foundAt ? LoopbackHttpServer::reply(record()) : kNotHere;
        };
        const QString drive = QStringLiteral("sim:") + (c.emptyDrive ? QString() : dir.filePath("disc.disc"));
        const CliRun run = lookup({QStringLiteral("--server"), serverPath()}, drive);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_EQ(run.out, c.out);
        if (c.errPart.isEmpty()) EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        else EXPECT_TRUE(run.err.contains(c.errPart)) << run.err.toStdString();
        // Each section once, in order, exactly as the window asks (a request the transport
        // repeated after a dropped connection stays one section).
        QList<QByteArray> asked;
        for (const auto& r : server.requests)
            if (asked.isEmpty() || asked.back() != r.target) asked << r.target;
        ASSERT_EQ(asked.size(), c.asked);
        for (int i = 0; i < c.asked; ++i) EXPECT_EQ(asked[i].toStdString(), expectedTarget(i, systemLogonName()).toStdString());
    }
}

TEST_F(CliLookup, AsksTheServerAndUserOfTheSettingsUnlessGiven) {
    SettingsStore store(qsettingsRegistryFactory(dir.filePath(QStringLiteral("settings.ini"))));
    ASSERT_FALSE(store.write(settings::CDDBServer, serverPath()));
    ASSERT_FALSE(store.write(settings::UserName, QStringLiteral("jo smith&co")));
    server.script = [](const LoopbackHttpServer::Request&, int) { return LoopbackHttpServer::reply(record()); };
    const CliRun run = lookup({}, QStringLiteral("sim:") + dir.filePath("disc.disc"));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    ASSERT_EQ(server.requests.size(), 1u);
    EXPECT_EQ(server.requests[0].target.toStdString(), expectedTarget(0, QStringLiteral("jo smith&co")).toStdString());
    EXPECT_TRUE(server.requests[0].target.contains("hello=jo+smith%26co+"));
}

}  // namespace
}  // namespace velmora::test
