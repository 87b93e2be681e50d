// velmora-cli info, run as a user would: a simulated drive, VELMORA_HOME for the folder.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
};

class CliInfoTest : public ::testing::Test {
protected:
    QTemporaryDir home;
    const QString cli = QStringLiteral(VELMORA_RUNTIME_DIR "/velmora-cli");

    // A simulated disc of three audio tracks.
    QString discFile() {
        const QString path = home.filePath(QStringLiteral("three.disc"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("track 1 150 audio\ntrack 2 4650 audio\ntrack 3 9150 audio\nleadout 13650\n");
        return path;
    }

    CliRun info(const QString& drive) {
        QProcess p;
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VELMORA_HOME"), home.path());
        env.insert(QStringLiteral("VELMORA_DRIVE"), drive);
        p.setProcessEnvironment(env);
        p.start(cli, {QStringLiteral("info")});
        if (!p.waitForFinished(30000)) return {};
        return {p.exitCode(), p.readAllStandardOutput()};
    }

    QString database() const { return home.filePath(QStringLiteral("Velmora.ini")); }
};

}  // namespace

TEST_F(CliInfoTest, NewDiscGetsItsDefaultSectionHandEditsShowAndAnEmptyDriveTouchesNothing) {
    CliRun run = info(QStringLiteral("sim:"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_FALSE(QFile::exists(database()));

    const QString disc = discFile();
    run = info(QStringLiteral("sim:") + disc);
    ASSERT_EQ(run.exitCode, 0);
    const QByteArray id = run.out.split('\n').front().mid(3);
    EXPECT_EQ(run.out, "ID=" + id + "\nTitle=Unknown Title\nArtist=Unknown Artist\nRevision=1\nTrack1=\nTrack2=\nTrack3=\n");

    // Edited by hand in a single-byte code page.
    QFile f(database());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[" + id + "]\nTitle=Caf\xE9 live\nArtist=X\nTrack2=Deux\n");
    f.close();
    run = info(QStringLiteral("sim:") + disc);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "ID=" + id + "\nTitle=Caf\xC3\xA9 live\nArtist=X\nRevision=0\nTrack1=\nTrack2=Deux\nTrack3=\n");
}
