#include "discdb/disc_database.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

using namespace velmora;

namespace {
QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

TEST(DiscDatabase, DefaultsAreStoredWithoutAnyDriveForNoMoreTracksThanACdHolds) {
    QTemporaryDir dir;
    DiscDatabase db(dir.filePath(QStringLiteral("Velmora.ini")));
    EXPECT_TRUE(db.addDefault(QStringLiteral("1C02F203"), 150).error.isEmpty());
    EXPECT_TRUE(readBytes(db.filePath()).contains("NumberOfTracks=99\r\nTrack1="));
    EXPECT_EQ(db.find(QStringLiteral("1C02F203")).record.value().Title, QStringLiteral("Unknown Title"));
}

TEST(DiscDatabasePath, BesideAWritableProgramFolderElseInTheUsersDataFolder) {
    QTemporaryDir program, data;
    EXPECT_EQ(discDatabasePath(program.path()), program.path() + QStringLiteral("/Velmora.ini"));

    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    // A program folder that is no folder at all cannot take the file.
    const QString own = discDatabasePath(program.filePath(QStringLiteral("gone")));
    EXPECT_EQ(own, data.path() + QStringLiteral("/velmora/Velmora.ini"));

    if (geteuid() != 0) {
        // A read-only program folder with a database: the user's copy starts from it.
        QFile seed(program.filePath(QStringLiteral("Velmora.ini")));
        ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
        seed.write("[A1]\nTitle=T\n");
        seed.close();
        QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_EQ(discDatabasePath(program.path()), own);
        EXPECT_EQ(readBytes(own), QByteArray("[A1]\nTitle=T\n"));
        QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    if (saved.isNull()) qunsetenv("XDG_DATA_HOME");
    else qputenv("XDG_DATA_HOME", saved);
}

TEST(DiscDatabase, AFileItCannotUseIsNamedAndTheDiscStillShowsItsDefaults) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Velmora.ini")));
    DiscDatabase db(dir.filePath(QStringLiteral("Velmora.ini")));
    const QString unread = db.find(QStringLiteral("AE0A660C")).error;
    EXPECT_TRUE(unread.contains(db.filePath()) && unread.contains(QLatin1String("is a folder")))
        << unread.toStdString();
    const DiscLoad added = db.addDefault(QStringLiteral("AE0A660C"), 3);
    ASSERT_TRUE(added.record);
    EXPECT_EQ(added.record->Title, QStringLiteral("Unknown Title"));
    EXPECT_TRUE(added.error.contains(db.filePath())) << added.error.toStdString();
}
