#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <unistd.h>

using namespace velmora;

// Where the data is read from and where the disc database goes, for the layouts a program
// is found in. The user's data folder is never a folder of the install.
TEST(ProgramFolders, DataIsFoundBesideInThePrefixOrTheDataFoldersAndWritesGoToTheUsersFolder) {
    QTemporaryDir root;
    const auto path = [&](const char* relative) { return root.filePath(QLatin1String(relative)); };
    const QByteArray savedData = qgetenv("XDG_DATA_HOME"), savedDirs = qgetenv("XDG_DATA_DIRS");
    const auto restore = qScopeGuard([&] {
        savedData.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", savedData);
        savedDirs.isNull() ? qunsetenv("XDG_DATA_DIRS") : qputenv("XDG_DATA_DIRS", savedDirs);
    });
    qputenv("XDG_DATA_HOME", QFile::encodeName(path("home")));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(path("xdg")));
    for (const char* skins : {"portable/Skins", "prefix/share/velmora/Skins", "xdg/velmora/Skins", "alien/Skins"})
        ASSERT_TRUE(QDir().mkpath(path(skins)));
    QDir().mkpath(path("prefix/bin"));
    QDir().mkpath(path("elsewhere"));
    const QString own = path("home") + QStringLiteral("/velmora");

    struct Case {
        const char* what;
        QString exe, home, program, userData;
    } cases[] = {
        {"a portable copy", path("portable"), {}, path("portable"), path("portable")},
        {"an install in a prefix", path("prefix/bin"), {}, path("prefix/share/velmora"), own},
        {"the data folders", path("elsewhere"), {}, path("xdg/velmora"), own},
        {"VELMORA_HOME", path("portable"), path("elsewhere"), path("elsewhere"), path("elsewhere")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ProgramFolders folders = programFoldersFor(c.exe, c.home);
        EXPECT_EQ(folders.program, c.program);
        EXPECT_EQ(folders.userData, c.userData);
    }
    // A folder with the data that belongs to someone else (a system folder run by root) is
    // read, never written.
    if (geteuid() == 0 && ::chown(QFile::encodeName(path("alien")).constData(), 65534, 65534) == 0) {
        const ProgramFolders folders = programFoldersFor(path("alien"), {});
        EXPECT_EQ(folders.program, path("alien"));
        EXPECT_EQ(folders.userData, own);
    }
}
