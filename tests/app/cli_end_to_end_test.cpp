// velmora-cli run as a program: lines in, lines out, exit codes.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace velmora::test {
namespace {

const QString kCli = QStringLiteral(VELMORA_RUNTIME_DIR "/velmora-cli");

// `drive` null: no VELMORA_DRIVE at all.
CliRun runOn(const QStringList& args, const QString& drive, const QByteArray& input = {}) {
    return runCli(args, {{QStringLiteral("VELMORA_DRIVE"), drive}}, input);
}

class CliEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFileInfo(kCli).isExecutable()) << "build velmora-cli first: " << kCli.toStdString();
    }
    QString writeDisc(const QString& name, const QByteArray& text) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(CliEndToEnd, MciAnswersOneLinePerCommand) {
    const QString disc = writeDisc(QStringLiteral("known.disc"),
                                   "track 1 150 audio\ntrack 2 20000 audio\ntrack 3 40000 data\nleadout 60000\n");
    const std::pair<const char*, const char*> exchange[] = {
        {"open cdaudio alias cd wait shareable\n", "0\t1\t"},
        {"set cd time format tmsf wait\n", "0\t\t"},
        {"status cd number of tracks wait\r\n", "0\t3\t"},
        {"status cd length track 1\n", "0\t04:24:50\t"},
        {"status cd type track 3\n", "0\tother\t"},
        {"\n", "267\t\tNo command was specified."},
        {"bogus\n", "261\t\tThe driver cannot recognize the specified command."},
        {"play cd from 2\n", "0\t\t"},
        {"status cd mode\n", "0\tplaying\t"},
        {"status cd length track 9\n", "282\t\tThe specified parameter is out of range for the specified command."},
        {"close all\n", "0\t\t"},
        {"status cd mode", "263\t\tThe specified device is not open or is not recognized by MCI."},  // no newline
    };
    QByteArray input;
    QString expected;
    for (const auto& [command, reply] : exchange) {
        input += command;
        expected += QString::fromUtf8(reply) + u'\n';
    }
    const CliRun run = runOn({QStringLiteral("mci")}, QStringLiteral("sim:") + disc, input);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, expected);
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST_F(CliEndToEnd, DiscIdPrintsTheIdOrSaysWhy) {
    const struct {
        const char* name;
        QByteArray disc;  // empty: no drive at all
        int exitCode;
        QString out;
        QString errPart;  // "@" stands for the disc file
    } cases[] = {
        // Tracks at 00:02:00, 03:10:40, 07:55:01; length 12:34:56.
        {"the worked example", "track 1 150 audio\ntrack 2 14290 audio\ntrack 3 35626 audio\nleadout 56757\n", 0,
         "1C02F203\n", {}},
        {"a broken disc file: the drive is empty", "track 1 150 audio\ntrack 3 900 audio\nleadout 2000\n", 0,
         "00000000\n", "@:2:"},
        {"no drive", {}, 1, {}, "problem in loading the specified device driver"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString disc = c.disc.isEmpty() ? dir.filePath(QStringLiteral("no-such-device"))
                                              : writeDisc(QStringLiteral("d.disc"), c.disc);
        const CliRun run = runOn({QStringLiteral("discid")}, c.disc.isEmpty() ? disc : QStringLiteral("sim:") + disc);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_EQ(run.out, c.out);
        EXPECT_TRUE(run.err.contains(QString(c.errPart).replace(u'@', disc))) << run.err.toStdString();
    }
}

TEST_F(CliEndToEnd, UsageErrors) {
    struct Case {
        QStringList args;
        int exitCode;
    } cases[] = {
        {{}, 2},
        {{QStringLiteral("frobnicate")}, 2},
        {{QStringLiteral("mci"), QStringLiteral("extra")}, 2},
        {{QStringLiteral("discid"), QStringLiteral("--verbose")}, 2},
        {{QStringLiteral("--help")}, 0},
    };
    for (const auto& c : cases) {
        const CliRun run = runOn(c.args, QStringLiteral("sim:"));
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(u' ').toStdString();
        if (c.exitCode == 2) EXPECT_FALSE(run.err.isEmpty()) << c.args.join(u' ').toStdString();
        else EXPECT_TRUE(run.out.contains(QStringLiteral("discid")));
    }
}

TEST_F(CliEndToEnd, GarbageInputNeverCrashes) {
    QByteArray input = "open cdaudio alias cd wait shareable\n";
    input += QByteArray(200000, 'x') + "\n";
    input += QByteArray("\0\xff\xfe status\t\"\"\"\n", 15);
    input += "status cd \"mode\n";
    input += "status cd mode\n";
    const CliRun run = runOn({QStringLiteral("mci")}, QStringLiteral("sim:"), input);
    ASSERT_EQ(run.exitCode, 0);
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("261\t")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("267\t")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("294\t")));
    EXPECT_EQ(lines[4], QStringLiteral("0\tnot ready\t"));
}

}  // namespace
}  // namespace velmora::test
