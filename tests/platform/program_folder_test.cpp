#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <unistd.h>

using namespace velmora;

// Where the data is read from and where the disc database goes, for each layout a program is
// found in: never a folder of the install, nor one of somebody else's (root running a
// system's copy).
TEST(ProgramFolders, DataIsFoundBesideInThePrefixOrTheDataFoldersAndWritesGoToTheUsersFolder) {
    QTemporaryDir root;
    const auto path = [&](const char* relative) { return root.filePath(QLatin1String(relative)); };
    for (const char* made : {"portable/Skins", "prefix/share/velmora/Skins", "prefix/bin", "xdg/velmora/Skins",
                             "elsewhere", "alien/Skins"})
        ASSERT_TRUE(QDir().mkpath(path(made)));
    const QByteArray saved[] = {qgetenv("XDG_DATA_HOME"), qgetenv("XDG_DATA_DIRS")};
    const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", saved[0]), qputenv("XDG_DATA_DIRS", saved[1]); });
    qputenv("XDG_DATA_HOME", QFile::encodeName(path("home")));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(path("xdg")));
    const QString own = path("home/velmora");
    const bool alien = geteuid() == 0 && ::chown(QFile::encodeName(path("alien")).constData(), 65534, 65534) == 0;
    struct Case {
        const char* what;
        QString exe, home, program, userData;
    } cases[] = {
        {"a portable copy", path("portable"), {}, path("portable"), path("portable")},
        {"an install in a prefix", path("prefix/bin"), {}, path("prefix/share/velmora"), own},
        {"the data folders", path("elsewhere"), {}, path("xdg/velmora"), own},
        {"VELMORA_HOME", path("portable"), path("elsewhere"), path("elsewhere"), path("elsewhere")},
        {"another user's copy", path("alien"), {}, path("alien"), alien ? own : path("alien")},
    };
    for (const Case& c : cases) {
        const ProgramFolders folders = programFoldersFor(c.exe, c.home);
        EXPECT_EQ(folders.program, c.program) << c.what;
        EXPECT_EQ(folders.userData, c.userData) << c.what;
    }
}
