#include "platform/desktop/auto_run.h"

#include "platform/desktop/desktop_entry.h"

#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
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

const QByteArray kAssociation = "x-content/audio-cdda=velmora-play.desktop;";

QByteArray read(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The folders in the order they are declared, each list joined with ":".
QStringList described(const XdgFolders& f) {
    return {f.configHome, f.configDirs.join(u':'), f.dataHome, f.dataDirs.join(u':'), f.desktops.join(u':')};
}

// Temporary XDG folders where another player takes audio CDs.
class AutoRunTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    XdgFolders folders{path("config"), {path("etc")}, path("data"), {path("sys")}, {}};
    RecordingMessageBoxes boxes;
    QString program = path("Bin/velmora");

    QString path(const QString& relative) const { return root.filePath(relative); }
    QString userEntry() const { return path("data/applications/velmora-play.desktop"); }
    QString userList() const { return path("config/mimeapps.list"); }

    // The check's outcome, which comes from the event loop; none when it has not come.
    std::optional<AutoRunOutcome> check() {
        std::optional<AutoRunOutcome> outcome;
        Check_Auto_Run(program, folders, boxes, [&outcome](AutoRunOutcome o) { outcome = o; });
        waitFor([&] { return outcome.has_value(); });
        return outcome;
    }
    static void waitFor(const std::function<bool()>& done) {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    // Another player installed for audio CDs, and this program (the desktop skips an entry
    // whose program is not there).
    void reset() {
        QDir(root.path()).removeRecursively();
        write("sys/applications/other.desktop",
              "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true\nMimeType=x-content/audio-cdda;\n");
        write("Bin/velmora", "#!/bin/sh\n");
        QFile::setPermissions(path("Bin/velmora"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        boxes.shown.clear();
    }
    void write(const QString& relative, const QByteArray& data) {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << relative.toStdString();
        file.write(data);
    }
    std::map<QString, QByteArray> snapshot() const {
        std::map<QString, QByteArray> files;
        for (QDirIterator it(root.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
            const QString file = it.next();
            files[file] = read(file);
        }
        return files;
    }
    // A desktop tool run on the temporary folders alone: its output, the error output after it.
    QString run(const QString& tool, const QStringList& args) {
        const std::pair<const char*, QString> variables[] = {
            {"PATH", qEnvironmentVariable("PATH", QStringLiteral("/usr/bin:/bin"))},
            {"HOME", root.path()},
            {"XDG_CONFIG_HOME", folders.configHome},
            {"XDG_CONFIG_DIRS", folders.configDirs.join(u':')},
            {"XDG_DATA_HOME", folders.dataHome},
            {"XDG_DATA_DIRS", folders.dataDirs.join(u':')},
            {"VELMORA_RAN", path("ran.txt")}};
        QProcessEnvironment env;
        for (const auto& [name, value] : variables) env.insert(QString::fromLatin1(name), value);
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(tool, args);
        EXPECT_TRUE(child.waitForFinished(20000)) << tool.toStdString();
        return (QString::fromUtf8(child.readAllStandardOutput()) + QString::fromUtf8(child.readAllStandardError()))
            .trimmed();
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
        {"/opt/50%/v", "/opt/50%%/v play", "Exec=/opt/50%%/v play"},
        {"/opt/My it's;~(1)#&|<>*?\tApps/v", "\"/opt/My it's;~(1)#&|<>*?\tApps/v\" play",
         "Exec=\"/opt/My it's;~(1)#&|<>*?\\tApps/v\" play"},
        {"/opt/5% \"a\"$b\\c`d`/v", "\"/opt/5%% \\\"a\\\"\\$b\\\\c\\`d\\`/v\" play",
         "Exec=\"/opt/5%% \\\\\"a\\\\\"\\\\$b\\\\\\\\c\\\\`d\\\\`/v\" play"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(expectedPlayCommand(c.program), c.command) << c.program.toStdString();
        EXPECT_TRUE(playEntryFor(c.program).split(u'\n').contains(c.execLine)) << c.program.toStdString();
        EXPECT_EQ(execArguments(c.command), (QStringList{c.program, "play"}));
    }
    EXPECT_EQ(execArguments(QStringLiteral("\"/open quote play")), std::nullopt);
}

// The entry xdg-mime finds decides the question, and a No leaves every file as it was.
TEST_F(AutoRunTest, TheDesktopsDefaultDecidesTheQuestionAndNoWritesNothing) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> files;  // "@P@": the program's path
        bool asks;
        bool onPath = false;  // the program's folder on the PATH
    };
    const char* entry = "[Desktop Entry]\nType=Application\nName=V\nExec=@P@ play\n";
    const char* toUs = "[Default Applications]\nx-content/audio-cdda=velmora.desktop;\n";
    const char* ours = "data/applications/velmora.desktop";
    const char* list = "config/mimeapps.list";
    const char* sysPlay = "sys/applications/velmora-play.desktop";
    const char* bare = "[Desktop Entry]\nType=Application\nName=V\nExec=velmora play\nMimeType=x-content/audio-cdda;\n";
    const char* sysCache = "sys/applications/mimeinfo.cache";
    const char* cached = "[MIME Cache]\nx-content/audio-cdda=velmora-play.desktop;other.desktop;\n";
    const QByteArray savedPath = qgetenv("PATH");
    const auto restorePath = qScopeGuard([&] { qputenv("PATH", savedPath); });
    const Case cases[] = {
        {"equal", {{ours, entry}, {list, toUs}}, false},
        {"the argument's letter case", {{ours, "[Desktop Entry]\nExec=@P@ PLAY\n"}, {list, toUs}}, false},
        {"installed entry naming the program on the PATH", {{sysPlay, bare}, {sysCache, cached}}, false, true},
        {"the same name, another program", {{sysPlay, bare}, {sysCache, cached}}, true},
        {"another argument", {{ours, "[Desktop Entry]\nExec=@P@ play %U\n"}, {list, toUs}}, true},
        {"another player", {{list, "[Default Applications]\nx-content/audio-cdda=other.desktop;\n"}}, true},
        {"none", {}, true},
    };
    boxes.yesNoAnswer = MsgBox::AnswerNo;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        for (const auto& [file, text] : c.files)
            write(QString::fromLatin1(file), QByteArray(text).replace("@P@", program.toUtf8()));
        qputenv("PATH", c.onPath ? QFile::encodeName(path("Bin")) + ':' + savedPath : savedPath);
        const auto before = snapshot();

        EXPECT_EQ(check(), c.asks ? AutoRunOutcome::Declined : AutoRunOutcome::AlreadyDefault);
        ASSERT_EQ(boxes.shown.size(), c.asks ? 1u : 0u);
        if (c.asks) {
            EXPECT_EQ(boxes.shown[0].text,
                      "Velmora is not set as your default Audio Player.\r\n\r\n"
                      "Would you like to automatically set this now?");
            EXPECT_EQ(boxes.shown[0].title, QStringLiteral("CD Audio Auto-Run Check"));
            EXPECT_EQ(boxes.shown[0].style, MsgBox::Question | MsgBox::YesNo);
        }
        EXPECT_EQ(snapshot(), before);
    }
}

// The answer may come long after the check returned: nothing is written before it, and the
// check keeps what it needs from its arguments.
TEST_F(AutoRunTest, AnAnswerThatComesLaterIsActedOn) {
    struct LaterBoxes final : MessageBoxService {
        int show(const QString&, const QString&, int) override { return MsgBox::AnswerOk; }
        void ask(const QString&, const QString&, int, std::function<void(int)> answered) override {
            pending = std::move(answered);
        }
        std::function<void(int)> pending;
    } later;
    reset();
    std::optional<AutoRunOutcome> outcome;
    {
        const XdgFolders gone = folders;
        Check_Auto_Run(QString(program), gone, later, [&outcome](AutoRunOutcome o) { outcome = o; });
    }
    waitFor([&] { return bool(later.pending); });
    ASSERT_TRUE(later.pending);
    EXPECT_FALSE(outcome);
    EXPECT_FALSE(QFileInfo::exists(userEntry()));
    later.pending(MsgBox::AnswerYes);
    EXPECT_EQ(outcome, AutoRunOutcome::MadeDefault);
    EXPECT_EQ(read(userEntry()), playEntryFor(program).toUtf8());
}

// The installed entry already runs this program: a Yes only makes it the default.
TEST_F(AutoRunTest, YesTakesTheInstalledEntryWhenItRunsThisProgram) {
    reset();
    write("sys/applications/velmora-play.desktop",
          "[Desktop Entry]\nType=Application\nName=V\nExec=" + program.toUtf8() + " play\n");
    boxes.yesNoAnswer = MsgBox::AnswerYes;
    EXPECT_EQ(check(), AutoRunOutcome::MadeDefault);
    EXPECT_FALSE(QFileInfo::exists(userEntry()));
    EXPECT_EQ(read(userList()), "[Default Applications]\n" + kAssociation + "\n");
    EXPECT_EQ(check(), AutoRunOutcome::AlreadyDefault);
}

// A Yes writes the entry and the association, keeps every other line, and reads back as done.
TEST_F(AutoRunTest, YesWritesTheEntryAndTheAssociationAndKeepsTheRestOfTheList) {
    const std::pair<std::optional<QByteArray>, QByteArray> cases[] = {
        {std::nullopt, "[Default Applications]\n" + kAssociation + "\n"},
        {"# mine\n[Default Applications]\ntext/html=f.desktop;\nx-content/audio-cdda = other.desktop;\n"
         "#x-content/audio-cdda=c.desktop;\nx-content/audio-cdda=second.desktop;\n\n"
         "[Added Associations]\nx-content/audio-cdda=other.desktop;\n  odd line\n",
         "# mine\n[Default Applications]\ntext/html=f.desktop;\n" + kAssociation +
             "\n#x-content/audio-cdda=c.desktop;\n\n[Added Associations]\nx-content/audio-cdda=other.desktop;\n  odd "
             "line\n"},
        {"[Default Applications]\ntext/html=f.desktop;\n\n[Removed Associations]\na/b=x.desktop;\n",
         "[Default Applications]\ntext/html=f.desktop;\n" + kAssociation +
             "\n\n[Removed Associations]\na/b=x.desktop;\n"},
        {"[Added Associations]\na/b=c.desktop;",
         "[Added Associations]\na/b=c.desktop;\n\n[Default Applications]\n" + kAssociation + "\n"},
        {"[Default Applications]\r\ntext/html=f.desktop;",
         "[Default Applications]\r\ntext/html=f.desktop;\r\n" + kAssociation + "\r\n"},
        // The second entry, the last line, goes: the first may not end the file in a lone CR.
        {"[Default Applications]\r\nx-content/audio-cdda=a.desktop;\r\nx-content/audio-cdda=b.desktop;",
         "[Default Applications]\r\n" + kAssociation + "\r\n"},
    };
    boxes.yesNoAnswer = MsgBox::AnswerYes;
    for (const auto& [before, after] : cases) {
        SCOPED_TRACE(before.value_or("<no list>").toStdString());
        reset();
        if (before) write("config/mimeapps.list", *before);

        EXPECT_EQ(check(), AutoRunOutcome::MadeDefault);
        EXPECT_EQ(read(userList()), after);
        EXPECT_EQ(read(userEntry()), playEntryFor(program).toUtf8());
        EXPECT_EQ(check(), AutoRunOutcome::AlreadyDefault);
    }
}

// The desktop's own tools accept what a Yes wrote and run it, whatever the path holds. Not
// a "%": the entry has "%%" as the format wants, but GLib looks for the program under that
// name and drops the entry.
TEST_F(AutoRunTest, TheDesktopRunsTheEntryForAnyProgramPath) {
    for (const char* tool : {"desktop-file-validate", "gio"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << "needs desktop-file-validate (desktop-file-utils) and gio (libglib2.0-bin): "
                            "tools/install-deps.sh installs them";
    reset();
    const QString file = QStringLiteral("progs/say \"hi\" $HOME \\ `x` 'q'\t(1) #2 & c; ~me | <x> * ?/Velmora");
    write(file, "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > \"$VELMORA_RAN\"\n");
    program = path(file);
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    boxes.yesNoAnswer = MsgBox::AnswerYes;

    ASSERT_EQ(check(), AutoRunOutcome::MadeDefault);
    EXPECT_EQ(run(QStringLiteral("desktop-file-validate"), {userEntry()}), QString());
    const QString gioDefault = run(QStringLiteral("gio"), {"mime", kAudioCdContentType}).section(u'\n', 0, 0);
    EXPECT_TRUE(gioDefault.endsWith(QStringLiteral(": velmora-play.desktop"))) << gioDefault.toStdString();
    run(QStringLiteral("gio"), {"launch", userEntry()});
    QElapsedTimer waited;
    waited.start();
    while (!read(path("ran.txt")).endsWith("play\n") && waited.elapsed() < 10000) QThread::msleep(20);
    EXPECT_EQ(QString::fromUtf8(read(path("ran.txt"))), program + QStringLiteral("\nplay\n"));
}

// A file that cannot be read or written is reported; an unreadable list is never replaced.
TEST_F(AutoRunTest, FilesThatCannotBeWrittenAreReported) {
    struct Case {
        const char* plainFile;  // a file where a folder should be
        const char* folder;     // a folder where the list should be
        bool entryWritten;
        const char* mentions;
        QByteArray list;  // a list that is no text, left as it was
    };
    const Case cases[] = {
        {nullptr, "config/mimeapps.list", false, "Cannot read", {}},
        {"config", nullptr, true, "config", {}},
        {"data", nullptr, false, "data", {}},
        {nullptr, nullptr, false, "not UTF-8 text", QByteArray("[Default Applications]\0\nx=y\n", 28)},
    };
    boxes.yesNoAnswer = MsgBox::AnswerYes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mentions);
        reset();
        if (c.plainFile) write(QString::fromLatin1(c.plainFile), "not a folder");
        if (c.folder) QDir().mkpath(path(QString::fromLatin1(c.folder)));
        if (!c.list.isNull()) write("config/mimeapps.list", c.list);

        EXPECT_EQ(check(), AutoRunOutcome::Failed);
        ASSERT_EQ(boxes.shown.size(), 2u);
        EXPECT_EQ(boxes.shown[1].style, MsgBox::Critical | MsgBox::OkOnly);
        EXPECT_TRUE(boxes.shown[1].text.startsWith(
            QStringLiteral("Velmora could not set itself as your default Audio Player.\r\n\r\n")));
        EXPECT_TRUE(boxes.shown[1].text.contains(QString::fromLatin1(c.mentions))) << boxes.shown[1].text.toStdString();
        EXPECT_EQ(QFileInfo(userEntry()).isFile(), c.entryWritten);
        if (c.list.isNull()) EXPECT_FALSE(QFileInfo(userList()).isFile());
        else EXPECT_EQ(read(userList()), c.list);
    }
}

TEST_F(AutoRunTest, ASymlinkedListStaysALinkToTheUpdatedFile) {
    reset();
    write("dotfiles/mimeapps.list", "[Default Applications]\ntext/html=f.desktop;\n");
    QDir().mkpath(path("config"));
    ASSERT_TRUE(QFile::link(path("dotfiles/mimeapps.list"), userList()));
    boxes.yesNoAnswer = MsgBox::AnswerYes;
    EXPECT_EQ(check(), AutoRunOutcome::MadeDefault);
    EXPECT_TRUE(QFileInfo(userList()).isSymLink());
    EXPECT_EQ(read(path("dotfiles/mimeapps.list")),
              "[Default Applications]\ntext/html=f.desktop;\n" + kAssociation + "\n");
}

TEST(XdgFoldersFromEnvironment, VariablesWinAndUnsetOrRelativeOnesFallBack) {
    const char* names[] = {"HOME",          "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS",
                           "XDG_DATA_HOME", "XDG_DATA_DIRS",   "XDG_CURRENT_DESKTOP"};
    std::map<std::string, std::optional<QByteArray>> saved;
    for (const char* n : names) saved[n] = qEnvironmentVariableIsSet(n) ? std::optional(qgetenv(n)) : std::nullopt;
    const auto restore = qScopeGuard([&] {
        for (const auto& [n, v] : saved) v ? qputenv(n.c_str(), *v) : qunsetenv(n.c_str());
    });

    const char* set[] = {"/home/ann", "/c", "/e1:relative:/e2/", "/d", "/s1::/s2", "ubuntu:GNOME"};
    for (int i = 0; i < 6; ++i) qputenv(names[i], set[i]);
    EXPECT_EQ(described(XdgFolders::fromEnvironment()),
              QStringList({"/c", "/e1:/e2", "/d", "/s1:/s2", "ubuntu:gnome"}));

    qputenv("XDG_CONFIG_HOME", "relative");
    for (int i = 2; i < 6; ++i) qunsetenv(names[i]);
    EXPECT_EQ(
        described(XdgFolders::fromEnvironment()),
        QStringList({"/home/ann/.config", "/etc/xdg", "/home/ann/.local/share", "/usr/local/share:/usr/share", ""}));
}
