// velmora-cli info, run as a user would: a simulated drive, VELMORA_HOME for the folder.
#include "discdb/profile_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
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

    void SetUp() override {
        if (!QFileInfo(cli).isExecutable()) GTEST_SKIP() << "velmora-cli not built";
    }

    QString discFile(int tracks) {
        const QString path = home.filePath(QStringLiteral("d%1.disc").arg(tracks));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        for (int t = 1; t <= tracks; ++t) f.write("track " + QByteArray::number(t) + " " + QByteArray::number(150 + (t - 1) * 4500) + " audio\n");
        f.write("leadout " + QByteArray::number(150 + tracks * 4500) + "\n");
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

TEST_F(CliInfoTest, NewDiscGetsItsDefaultSectionAndHandEditsShow) {
    const QString disc = discFile(3);
    CliRun run = info(QStringLiteral("sim:") + disc);
    ASSERT_EQ(run.exitCode, 0);
    const QByteArray id = run.out.split('\n').front().mid(3);
    EXPECT_EQ(run.out, "ID=" + id + "\nTitle=Unknown Title\nArtist=Unknown Artist\nRevision=1\nTrack1=\nTrack2=\nTrack3=\n");
    EXPECT_EQ(velmora::profile::readSection(database(), QString::fromLatin1(id)).entries.size(), 7);

    // Edited by hand in a single-byte code page, with a "^" in it.
    QFile f(database());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[" + id + "]\nTitle=Caf\xE9 ^ live\nArtist=X\nTrack2=Deux\n");
    f.close();
    run = info(QStringLiteral("sim:") + disc);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "ID=" + id + "\nTitle=Caf\xC3\xA9 ^ live\nArtist=X\nRevision=0\nTrack1=\nTrack2=Deux\nTrack3=\n");
}

TEST_F(CliInfoTest, ListsEveryTrackOfALongDiscAndAnEmptyDriveTouchesNothing) {
    CliRun run = info(QStringLiteral("sim:"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_FALSE(QFile::exists(database()));

    run = info(QStringLiteral("sim:") + discFile(35));
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.endsWith("\nTrack34=\nTrack35=\n"));
    const QString id = QString::fromLatin1(run.out.split('\n').front().mid(3));
    EXPECT_EQ(velmora::profile::readSection(database(), id).entries.last(), QStringLiteral("Track35="));
}
