#include "discdb/disc_database.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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

// A portable copy writes beside itself; otherwise the user's own database is seeded once
// from a copy in the program's folder.
TEST(DiscDatabasePath, InTheDataFolderSeededOnceFromTheProgramFoldersCopy) {
    QTemporaryDir program, data;
    EXPECT_EQ(discDatabasePath(program.path(), program.path()), program.path() + QStringLiteral("/Velmora.ini"));
    QFile seed(program.filePath(QStringLiteral("Velmora.ini")));
    ASSERT_TRUE(seed.open(QIODevice::WriteOnly) && seed.write("[A1]\n") == 5);
    seed.close();
    const QString own = discDatabasePath(data.filePath(QStringLiteral("velmora")), program.path());
    EXPECT_EQ(own, data.path() + QStringLiteral("/velmora/Velmora.ini"));
    EXPECT_EQ(readBytes(own), QByteArray("[A1]\n"));
    ASSERT_TRUE(seed.open(QIODevice::WriteOnly) && seed.write("[B2]\n") == 5);
    seed.close();
    discDatabasePath(data.filePath(QStringLiteral("velmora")), program.path());
    EXPECT_EQ(readBytes(own), QByteArray("[A1]\n")) << "the user's own is never replaced";
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
