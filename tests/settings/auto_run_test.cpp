#include "settings/auto_run.h"

#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <map>
#include <optional>
#include <vector>

using namespace velmora;

namespace {

const QString kQuestion = QStringLiteral(
    "Velmora is not set as your default Audio Player.\r\n\r\nWould you like to automatically set this now?");
const QString kTitle = QStringLiteral("CD Audio Auto-Run Check");
const QByteArray kAssociation = "x-content/audio-cdda=velmora.desktop;";

// Temporary XDG folders with another player for audio CDs, and a program recording its start.
class AutoRunTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    XdgFolders folders{path("config"), {path("etc")}, path("data"), {path("sys")}, {}};
    RecordingMessageBoxes boxes;
    QString program = makeProgram(QStringLiteral("Bin"));

    QString path(const QString& relative) const { return root.filePath(relative); }
    QString userEntry() const { return path("data/applications/velmora.desktop"); }
    QString userList() const { return path("config/mimeapps.list"); }

    void reset() {
        for (const char* folder : {"config", "etc", "data", "sys"}) {
            QDir(path(folder)).removeRecursively();
            QFile::remove(path(folder));
        }
        write("sys/applications/other.desktop",
              "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true\nMimeType=x-content/audio-cdda;\n");
        boxes.shown.clear();
    }
    void write(const QString& relative, const QByteArray& data) {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << relative.toStdString();
        file.write(data);
    }
    static QByteArray read(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QString makeProgram(const QString& folder) {
        const QString file = folder + QStringLiteral("/Velmora");
        write(file, "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > \"$VELMORA_RAN\"\n");
        QFile::setPermissions(path(file), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path(file);
    }
    std::map<QString, QByteArray> snapshot() const {
        std::map<QString, QByteArray> files;
        QDirIterator it(root.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            files[file] = it.fileInfo().isDir() ? QByteArray("<dir>") : read(file);
        }
        return files;
    }

    // A tool run on the temporary folders alone: its output (the error output after it)
    // and exit code.
    QString run(const QString& tool, const QStringList& args, int* exitCode = nullptr) {
        const std::pair<const char*, QString> variables[] = {
            {"PATH", qEnvironmentVariable("PATH", QStringLiteral("/usr/bin:/bin"))}, {"HOME", root.path()},
            {"XDG_CONFIG_HOME", folders.configHome}, {"XDG_CONFIG_DIRS", folders.configDirs.join(u':')},
            {"XDG_DATA_HOME", folders.dataHome}, {"XDG_DATA_DIRS", folders.dataDirs.join(u':')},
            {"VELMORA_RAN", path("ran.txt")}};
        QProcessEnvironment env;
        for (const auto& [name, value] : variables) env.insert(QString::fromLatin1(name), value);
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(tool, args);
        EXPECT_TRUE(child.waitForFinished(20000)) << tool.toStdString();
        if (exitCode) *exitCode = child.exitCode();
        return (QString::fromUtf8(child.readAllStandardOutput()) +
                QString::fromUtf8(child.readAllStandardError())).trimmed();
    }
    // desktop-file-validate's complaints; empty when the file passes.
    QString validate(const QString& file) {
        int code = -1;
        const QString out = run(QStringLiteral("desktop-file-validate"), {file}, &code);
        return code == 0 ? out : QStringLiteral("exit %1: %2").arg(code).arg(out);
    }
};

// The desktop's own tools read back what was written.
class AutoRunToolsTest : public AutoRunTest {
protected:
    void SetUp() override {
        for (const char* tool : {"xdg-mime", "desktop-file-validate", "gio"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << "needs xdg-mime (xdg-utils), desktop-file-validate (desktop-file-utils) "
                                "and gio (libglib2.0-bin): tools/install-deps.sh installs them";
    }
};

}  // namespace

TEST(ExecQuoting, ReservedCharactersAreQuotedThenEscapedForTheEntry) {
    struct Case {
        QString program;
        QString command;   // the Exec value
        QString execLine;  // as the entry holds it
    };
    const Case cases[] = {
        {"/usr/bin/velmora", "/usr/bin/velmora play", "Exec=/usr/bin/velmora play"},
        {"/opt/a=b/Caf\u00e9/v", "/opt/a=b/Caf\u00e9/v play", "Exec=/opt/a=b/Caf\u00e9/v play"},
        {"/opt/My Apps/v", "\"/opt/My Apps/v\" play", "Exec=\"/opt/My Apps/v\" play"},
        {"/opt/50%/v", "/opt/50%%/v play", "Exec=/opt/50%%/v play"},
        {"/opt/a$b/v", "\"/opt/a\\$b/v\" play", "Exec=\"/opt/a\\\\$b/v\" play"},
        {"/opt/b\\s/v", "\"/opt/b\\\\s/v\" play", "Exec=\"/opt/b\\\\\\\\s/v\" play"},
        {"/opt/\"hi\"/v", "\"/opt/\\\"hi\\\"/v\" play", "Exec=\"/opt/\\\\\"hi\\\\\"/v\" play"},
        {"/opt/`x`/v", "\"/opt/\\`x\\`/v\" play", "Exec=\"/opt/\\\\`x\\\\`/v\" play"},
        {"/opt/a\tb/v", "\"/opt/a\tb/v\" play", "Exec=\"/opt/a\\tb/v\" play"},
        {"/opt/it's;~(1)#&|<>*?/v", "\"/opt/it's;~(1)#&|<>*?/v\" play", "Exec=\"/opt/it's;~(1)#&|<>*?/v\" play"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(expectedPlayCommand(c.program), c.command) << c.program.toStdString();
        EXPECT_TRUE(velmoraDesktopEntry(c.program).split(u'\n').contains(c.execLine)) << c.program.toStdString();
    }
}

// The built entry is validated where the install test installs it.
TEST_F(AutoRunToolsTest, TheOneTemplateIsShippedValidAndMakesTheInstalledEntry) {
    const QByteArray source = read(QStringLiteral(VELMORA_SOURCE_DIR "/resources/velmora.desktop.in"));
    ASSERT_EQ(desktopEntryTemplate().toUtf8(), source);
    ASSERT_TRUE(source.contains("\nExec=@VELMORA_PROGRAM@ play\n"));
    const QByteArray installed = QByteArray(source).replace("@VELMORA_PROGRAM@", "velmora");
    EXPECT_EQ(read(QStringLiteral(VELMORA_RUNTIME_DIR "/../velmora.desktop")), installed);
    write("check/template.desktop", source);
    EXPECT_EQ(validate(path("check/template.desktop")), QString());
}

// The stored default decides the question, and a No leaves every file as it was.
TEST_F(AutoRunTest, TheStoredDefaultDecidesTheQuestionAndNoWritesNothing) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> files;  // "@P@": the program's path
        bool asks;
        QStringList desktops = {};
    };
    const char* entry = "[Desktop Entry]\nType=Application\nName=V\nExec=@P@ play\n";
    const char* toUs = "[Default Applications]\nx-content/audio-cdda=velmora.desktop;\n";
    const char* toOther = "[Default Applications]\nx-content/audio-cdda=other.desktop;\n";
    const char* ours = "data/applications/velmora.desktop";
    const char* list = "config/mimeapps.list";
    const Case cases[] = {
        {"equal", {{ours, entry}, {list, toUs}}, false},
        {"letter case only, escaped blank", {{ours, "[Desktop Entry]\nExec = @p@\\sPLAY\n"}, {list, toUs}}, false},
        {"quoted path", {{ours, "[Desktop Entry]\nExec=\"@P@\" play\n"}, {list, toUs}}, true},
        {"another argument", {{ours, "[Desktop Entry]\nExec=@P@ play %U\n"}, {list, toUs}}, true},
        {"another player", {{list, toOther}}, true},
        {"missing", {}, true},
        {"named but not installed", {{list, toUs}}, true},
        {"not a default", {{ours, entry}, {list, "[Added Associations]\nx-content/audio-cdda=velmora.desktop;\n"}}, true},
        {"first installed entry of the list",
         {{ours, entry}, {list, "[Default Applications]\nx-content/audio-cdda=gone.desktop;velmora.desktop;\n"}}, false},
        {"system list and entry",
         {{"sys/applications/velmora.desktop", entry}, {"sys/applications/mimeapps.list", toUs}}, false},
        {"user list first", {{ours, entry}, {list, toOther}, {"etc/mimeapps.list", toUs}}, true},
        {"desktop's own list first", {{ours, entry}, {list, toUs}, {"config/kde-mimeapps.list", toOther}}, true, {"kde"}},
    };
    boxes.yesNoAnswer = MsgBox::AnswerNo;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        for (const auto& [file, text] : c.files)
            write(QString::fromLatin1(file), QByteArray(text).replace("@P@", program.toUtf8())
                                                   .replace("@p@", program.toLower().toUtf8()));
        folders.desktops = c.desktops;
        const auto before = snapshot();

        EXPECT_EQ(Check_Auto_Run(program, folders, boxes),
                  c.asks ? AutoRunOutcome::Declined : AutoRunOutcome::AlreadyDefault);
        ASSERT_EQ(boxes.shown.size(), c.asks ? 1u : 0u);
        if (c.asks) {
            EXPECT_EQ(boxes.shown[0].text, kQuestion);
            EXPECT_EQ(boxes.shown[0].title, kTitle);
            EXPECT_EQ(boxes.shown[0].style, MsgBox::Question | MsgBox::YesNo);
        }
        EXPECT_EQ(snapshot(), before);
    }
}

// A Yes writes the entry and the association, keeps every other line, and xdg-mime agrees.
TEST_F(AutoRunToolsTest, YesWritesTheEntryAndTheAssociationAndKeepsTheRestOfTheList) {
    const std::pair<std::optional<QByteArray>, QByteArray> cases[] = {
        {std::nullopt, "[Default Applications]\n" + kAssociation + "\n"},
        {"# mine\n[Default Applications]\ntext/html=f.desktop;\nx-content/audio-cdda = other.desktop;\n"
         "#x-content/audio-cdda=c.desktop;\nx-content/audio-cdda=second.desktop;\n\n"
         "[Added Associations]\nx-content/audio-cdda=other.desktop;\n  odd line\n",
         "# mine\n[Default Applications]\ntext/html=f.desktop;\n" + kAssociation +
             "\n#x-content/audio-cdda=c.desktop;\n\n[Added Associations]\nx-content/audio-cdda=other.desktop;\n  odd line\n"},
        {"[Default Applications]\ntext/html=f.desktop;\n\n[Removed Associations]\na/b=x.desktop;\n",
         "[Default Applications]\ntext/html=f.desktop;\n" + kAssociation + "\n\n[Removed Associations]\na/b=x.desktop;\n"},
        {"[Added Associations]\na/b=c.desktop;",
         "[Added Associations]\na/b=c.desktop;\n\n[Default Applications]\n" + kAssociation + "\n"},
        {"[Default Applications]\r\ntext/html=f.desktop;",
         "[Default Applications]\r\ntext/html=f.desktop;\r\n" + kAssociation + "\r\n"},
    };
    boxes.yesNoAnswer = MsgBox::AnswerYes;
    for (const auto& [before, after] : cases) {
        SCOPED_TRACE(before.value_or("<no list>").toStdString());
        reset();
        if (before) write("config/mimeapps.list", *before);

        EXPECT_EQ(Check_Auto_Run(program, folders, boxes), AutoRunOutcome::MadeDefault);
        EXPECT_EQ(read(userList()), after);
        EXPECT_EQ(read(userEntry()), velmoraDesktopEntry(program).toUtf8());
        EXPECT_EQ(validate(userEntry()), QString());
        EXPECT_EQ(run(QStringLiteral("xdg-mime"), {"query", "default", kAudioCdContentType}), kDesktopEntryName);
        EXPECT_EQ(Check_Auto_Run(program, folders, boxes), AutoRunOutcome::AlreadyDefault);
        EXPECT_EQ(boxes.shown.size(), 1u);
    }
}

// The desktop finds and runs what a Yes wrote, whatever the path holds. Not a "%": the
// entry has "%%" as the format wants, but GLib looks for the program under that name and
// drops the entry.
TEST_F(AutoRunToolsTest, TheDesktopRunsTheEntryForAnyProgramPath) {
    boxes.yesNoAnswer = MsgBox::AnswerYes;
    for (const char* folder : {"My Apps", "say \"hi\" $HOME \\ `x` 'q'\t(1) #2 & c; ~me | <x> * ?"}) {
        SCOPED_TRACE(folder);
        reset();
        program = makeProgram(QStringLiteral("progs/") + QString::fromUtf8(folder));
        QFile::remove(path("ran.txt"));

        ASSERT_EQ(Check_Auto_Run(program, folders, boxes), AutoRunOutcome::MadeDefault);
        EXPECT_EQ(validate(userEntry()), QString());
        const QString gioDefault = run(QStringLiteral("gio"), {"mime", kAudioCdContentType}).section(u'\n', 0, 0);
        EXPECT_TRUE(gioDefault.endsWith(QStringLiteral(": velmora.desktop"))) << gioDefault.toStdString();
        run(QStringLiteral("gio"), {"launch", userEntry()});
        QElapsedTimer waited;
        waited.start();
        while (!read(path("ran.txt")).endsWith("play\n") && waited.elapsed() < 10000) QThread::msleep(20);
        EXPECT_EQ(QString::fromUtf8(read(path("ran.txt"))), program + QStringLiteral("\nplay\n"));
    }
}

// A file that cannot be read or written is reported; an unreadable list is never replaced.
TEST_F(AutoRunTest, FilesThatCannotBeWrittenAreReported) {
    struct Case {
        const char* plainFile;  // a file where a folder should be
        const char* folder;     // a folder where the list should be
        bool entryWritten;
        const char* mentions;
    };
    const Case cases[] = {
        {nullptr, "config/mimeapps.list", false, "Cannot read"},
        {"config", nullptr, true, "config"},
        {"data", nullptr, false, "data"},
    };
    boxes.yesNoAnswer = MsgBox::AnswerYes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mentions);
        reset();
        if (c.plainFile) write(QString::fromLatin1(c.plainFile), "not a folder");
        if (c.folder) QDir().mkpath(path(QString::fromLatin1(c.folder)));

        EXPECT_EQ(Check_Auto_Run(program, folders, boxes), AutoRunOutcome::Failed);
        ASSERT_EQ(boxes.shown.size(), 2u);
        EXPECT_EQ(boxes.shown[1].title, kTitle);
        EXPECT_EQ(boxes.shown[1].style, MsgBox::Critical | MsgBox::OkOnly);
        EXPECT_TRUE(boxes.shown[1].text.startsWith(
            QStringLiteral("Velmora could not set itself as your default Audio Player.\r\n\r\n")));
        EXPECT_TRUE(boxes.shown[1].text.contains(QString::fromLatin1(c.mentions))) << boxes.shown[1].text.toStdString();
        EXPECT_EQ(QFileInfo(userEntry()).isFile(), c.entryWritten);
        EXPECT_FALSE(QFileInfo(userList()).isFile());
    }
}

TEST_F(AutoRunTest, ASymlinkedListStaysALinkToTheUpdatedFile) {
    reset();
    write("dotfiles/mimeapps.list", "[Default Applications]\ntext/html=f.desktop;\n");
    QDir().mkpath(path("config"));
    ASSERT_TRUE(QFile::link(path("dotfiles/mimeapps.list"), userList()));
    boxes.yesNoAnswer = MsgBox::AnswerYes;
    EXPECT_EQ(Check_Auto_Run(program, folders, boxes), AutoRunOutcome::MadeDefault);
    EXPECT_TRUE(QFileInfo(userList()).isSymLink());
    EXPECT_EQ(read(path("dotfiles/mimeapps.list")), "[Default Applications]\ntext/html=f.desktop;\n" + kAssociation + "\n");
}

TEST(XdgFoldersFromEnvironment, VariablesWinAndUnsetOrRelativeOnesFallBack) {
    const char* names[] = {"HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS",
                           "XDG_CURRENT_DESKTOP"};
    std::map<std::string, std::optional<QByteArray>> saved;
    for (const char* n : names) saved[n] = qEnvironmentVariableIsSet(n) ? std::optional(qgetenv(n)) : std::nullopt;
    const auto restore = qScopeGuard([&] {
        for (const auto& [n, v] : saved) v ? qputenv(n.c_str(), *v) : qunsetenv(n.c_str());
    });

    const char* set[] = {"/home/ann", "/c", "/e1:relative:/e2/", "/d", "/s1::/s2", "ubuntu:GNOME"};
    for (int i = 0; i < 6; ++i) qputenv(names[i], set[i]);
    const XdgFolders given = XdgFolders::fromEnvironment();
    EXPECT_EQ(given.configHome, "/c");
    EXPECT_EQ(given.configDirs, QStringList({"/e1", "/e2"}));
    EXPECT_EQ(given.dataHome, "/d");
    EXPECT_EQ(given.dataDirs, QStringList({"/s1", "/s2"}));
    EXPECT_EQ(given.desktops, QStringList({"ubuntu", "gnome"}));

    qputenv("XDG_CONFIG_HOME", "relative");
    for (int i = 2; i < 6; ++i) qunsetenv(names[i]);
    const XdgFolders fallback = XdgFolders::fromEnvironment();
    EXPECT_EQ(fallback.configHome, "/home/ann/.config");
    EXPECT_EQ(fallback.configDirs, QStringList({"/etc/xdg"}));
    EXPECT_EQ(fallback.dataHome, "/home/ann/.local/share");
    EXPECT_EQ(fallback.dataDirs, QStringList({"/usr/local/share", "/usr/share"}));
    EXPECT_TRUE(fallback.desktops.isEmpty());
}
