#include "discdb/disc_database.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <unistd.h>

using namespace velmora;

namespace {
QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

TEST(DiscDatabase, FindsStoredDiscsAndStoresDefaultsWithoutAnyDrive) {
    QTemporaryDir dir;
    DiscDatabase db(dir.filePath(QStringLiteral("Velmora.ini")));
    EXPECT_FALSE(db.find(QStringLiteral("1C02F203")).record);

    const DiscLoad added = db.addDefault(QStringLiteral("1C02F203"), 150);  // clamped to 99 tracks
    ASSERT_TRUE(added.record);
    EXPECT_TRUE(added.error.isEmpty());
    EXPECT_EQ(added.record->ID, QStringLiteral("1C02F203"));
    EXPECT_TRUE(readBytes(db.filePath()).contains("NumberOfTracks=99\r\n"));

    const DiscLoad found = db.find(QStringLiteral("1c02f203"));
    ASSERT_TRUE(found.record);
    EXPECT_EQ(found.record->Title, QStringLiteral("Unknown Title") + QChar(u'\0'));
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

TEST(DiscDatabase, AFileItCannotUseIsReportedAndNeverHidesOrLosesTitles) {
    const struct {
        const char* name;
        QByteArray file;      // empty: a folder takes the file's place
        const char* title;    // the title shown
        const char* problem;  // what the message says, nullptr when there is none
    } cases[] = {
        {"empty copy above the real one", "[AE0A660C]\r\n[AE0A660C]\r\nTitle=Real title\r\n", "Real title", nullptr},
        {"CR alone", "[00000001]\rTitle=Other\r[AE0A660C]\rTitle=Real title\r", "Real title", nullptr},
        {"folder", {}, "Unknown Title", "is a folder"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Velmora.ini"));
        QFile f(path);
        ASSERT_TRUE(c.file.isEmpty() ? QDir(dir.path()).mkdir(QStringLiteral("Velmora.ini"))
                                     : f.open(QIODevice::WriteOnly) && f.write(c.file) == c.file.size());
        f.close();
        DiscDatabase db(path);
        // As the player loads a disc: the stored record, else the defaults stored.
        DiscLoad load = db.find(QStringLiteral("AE0A660C"));
        QString problems = load.error;
        if (!load.record) {
            load = db.addDefault(QStringLiteral("AE0A660C"), 3);
            problems += load.error;
        }
        ASSERT_TRUE(load.record) << c.name;
        EXPECT_EQ(load.record->Title.chopped(1), QString::fromUtf8(c.title)) << c.name;
        if (c.problem) EXPECT_TRUE(problems.contains(path) && problems.contains(QLatin1String(c.problem))) << problems.toStdString();
        else EXPECT_TRUE(problems.isEmpty()) << c.name << ": " << problems.toStdString();
        if (!c.file.isEmpty()) EXPECT_EQ(readBytes(path), c.file) << c.name << ": the file was changed";
        else EXPECT_TRUE(QFileInfo(path).isDir()) << c.name;
    }
}
