#include "settings/auto_run.h"

#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
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

// Another player that claims audio CDs, with a preference that wins whenever no
// mimeapps.list names a default: a reader that says "velmora.desktop" read our association.
const char kOtherPlayer[] =
    "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true\n"
    "MimeType=x-content/audio-cdda;\nInitialPreference=9\n";

// Temporary XDG folders, and a program that records how it was started.
class AutoRunTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    XdgFolders folders;
    RecordingMessageBoxes boxes;
    QString program;

    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        folders.configHome = path("config");
        folders.configDirs = {path("etc")};
        folders.dataHome = path("data");
        folders.dataDirs = {path("sys")};
        program = makeProgram(QStringLiteral("Bin"));
        write("sys/applications/other-player.desktop", kOtherPlayer);
    }

    QString path(const QString& relative) const { return root.filePath(relative); }
    QString userEntry() const { return path("data/applications/velmora.desktop"); }
    QString userList() const { return path("config/mimeapps.list"); }

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
        const QString file = path(folder) + QStringLiteral("/Velmora");
        QDir().mkpath(path(folder));
        QFile script(file);
        EXPECT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > \"$VELMORA_RAN\"\n");
        script.close();
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return file;
    }

    // Every file and folder under the root with its content.
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

    QProcessEnvironment childEnvironment() const {
        QProcessEnvironment env;
        env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH", QStringLiteral("/usr/bin:/bin")));
        env.insert(QStringLiteral("HOME"), root.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), folders.configHome);
        env.insert(QStringLiteral("XDG_CONFIG_DIRS"), folders.configDirs.join(u':'));
        env.insert(QStringLiteral("XDG_DATA_HOME"), folders.dataHome);
        env.insert(QStringLiteral("XDG_DATA_DIRS"), folders.dataDirs.join(u':'));
        env.insert(QStringLiteral("VELMORA_RAN"), path("ran.txt"));
        return env;
    }
    // The tool's standard output, or nothing when it is not installed.
    std::optional<QString> run(const QString& tool, const QStringList& args, int* exitCode = nullptr) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) return std::nullopt;
        QProcess child;
        child.setProcessEnvironment(childEnvironment());
        child.start(tool, args);
        EXPECT_TRUE(child.waitForFinished(20000)) << tool.toStdString();
        if (exitCode) *exitCode = child.exitCode();
        const QString err = QString::fromUtf8(child.readAllStandardError());
        return QString::fromUtf8(child.readAllStandardOutput()).trimmed() + err.trimmed();
    }
    std::optional<QString> xdgMimeDefault() {
        return run(QStringLiteral("xdg-mime"), {"query", "default", kAudioCdContentType});
    }
    // desktop-file-validate's complaints about `file`; empty when it passes.
    std::optional<QString> validate(const QString& file) {
        int code = -1;
        auto out = run(QStringLiteral("desktop-file-validate"), {file}, &code);
        if (out && code != 0 && out->isEmpty()) *out = QStringLiteral("exit %1").arg(code);
        return out;
    }
    static bool haveTools() {
        for (const char* tool : {"xdg-mime", "desktop-file-validate", "gio"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) return false;
        return true;
    }
};

#define REQUIRE_TOOLS()                                                                       \
    if (!haveTools())                                                                         \
    GTEST_SKIP() << "needs xdg-mime (xdg-utils), desktop-file-validate (desktop-file-utils) " \
                    "and gio (libglib2.0-bin): tools/install-deps.sh installs them"

}  // namespace

TEST(ExecQuoting, ReservedCharactersAreQuotedAndEscapedTwice) {
    struct Case {
        QString program;
        QString command;   // the Exec value
        QString execLine;  // as the entry holds it
    };
    const Case cases[] = {
        {"/usr/bin/velmora", "/usr/bin/velmora play", "Exec=/usr/bin/velmora play"},
        {"/opt/a=b/Caf\u00e9/velmora", "/opt/a=b/Caf\u00e9/velmora play", "Exec=/opt/a=b/Caf\u00e9/velmora play"},
        {"/opt/My Apps/velmora", "\"/opt/My Apps/velmora\" play", "Exec=\"/opt/My Apps/velmora\" play"},
        {"/opt/50%/velmora", "/opt/50%%/velmora play", "Exec=/opt/50%%/velmora play"},
        {"/opt/50% off/velmora", "\"/opt/50%% off/velmora\" play", "Exec=\"/opt/50%% off/velmora\" play"},
        {"/opt/a$b/velmora", "\"/opt/a\\$b/velmora\" play", "Exec=\"/opt/a\\\\$b/velmora\" play"},
        {"/opt/back\\slash/v", "\"/opt/back\\\\slash/v\" play", "Exec=\"/opt/back\\\\\\\\slash/v\" play"},
        {"/opt/say \"hi\"/v", "\"/opt/say \\\"hi\\\"/v\" play", "Exec=\"/opt/say \\\\\"hi\\\\\"/v\" play"},
        {"/opt/it's/v", "\"/opt/it's/v\" play", "Exec=\"/opt/it's/v\" play"},
        {"/opt/`x`/v", "\"/opt/\\`x\\`/v\" play", "Exec=\"/opt/\\\\`x\\\\`/v\" play"},
        {"/opt/~me/v", "\"/opt/~me/v\" play", "Exec=\"/opt/~me/v\" play"},
        {"/opt/a\tb/v", "\"/opt/a\tb/v\" play", "Exec=\"/opt/a\\tb/v\" play"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(expectedPlayCommand(c.program), c.command) << c.program.toStdString();
        const QStringList lines = velmoraDesktopEntry(c.program).split(u'\n');
        EXPECT_TRUE(lines.contains(c.execLine)) << c.program.toStdString();
    }
    for (const char* reserved : {";", "&", "|", "<", ">", "*", "?", "#", "(", ")"})
        EXPECT_EQ(quoteExecArgument(QStringLiteral("/a%1b").arg(QLatin1String(reserved))),
                  QStringLiteral("\"/a%1b\"").arg(QLatin1String(reserved)));
}

TEST_F(AutoRunTest, TheOneTemplateIsShippedValidAndMakesTheInstalledEntry) {
    REQUIRE_TOOLS();
    const QByteArray source = read(QStringLiteral(VELMORA_SOURCE_DIR "/resources/velmora.desktop.in"));
    ASSERT_EQ(desktopEntryTemplate().toUtf8(), source);
    ASSERT_TRUE(source.contains("Exec=@VELMORA_PROGRAM@ play\n"));
    QByteArray installed = source;
    installed.replace("@VELMORA_PROGRAM@", "velmora");
    EXPECT_EQ(read(QStringLiteral(VELMORA_RUNTIME_DIR "/../velmora.desktop")), installed);

    write("check/template.desktop", source);
    write("check/velmora.desktop", installed);
    EXPECT_EQ(validate(path("check/template.desktop")), QString());
    EXPECT_EQ(validate(path("check/velmora.desktop")), QString());
}

// Which stored default counts as this program with "play": the question comes exactly
// when it does not, and a No leaves every file as it was.
TEST_F(AutoRunTest, TheStoredDefaultDecidesTheQuestionAndNoWritesNothing) {
    struct File {
        const char* path;
        const char* text;  // "@P@": the program's path, "@p@": the same in lower case
    };
    struct Case {
        const char* name;
        std::vector<File> files;
        bool asks;
        QStringList desktops = {};
    };
    const char* velmoraEntry = "[Desktop Entry]\nType=Application\nName=V\nExec=@P@ play\n";
    const char* toVelmora = "[Default Applications]\nx-content/audio-cdda=velmora.desktop;\n";
    const char* toOther = "[Default Applications]\nx-content/audio-cdda=other-player.desktop;\n";
    const Case cases[] = {
        {"equal", {{"data/applications/velmora.desktop", velmoraEntry}, {"config/mimeapps.list", toVelmora}}, false},
        {"lower case",
         {{"data/applications/velmora.desktop", "[Desktop Entry]\nExec=@p@ play\n"},
          {"config/mimeapps.list", toVelmora}},
         false},
        {"upper-case PLAY, spaces round the =, an escaped blank",
         {{"data/applications/velmora.desktop", "[Desktop Entry]\n# comment\nExec = @P@\\sPLAY\n"},
          {"config/mimeapps.list", toVelmora}},
         false},
        {"quoted path",
         {{"data/applications/velmora.desktop", "[Desktop Entry]\nExec=\"@P@\" play\n"},
          {"config/mimeapps.list", toVelmora}},
         true},
        {"another argument",
         {{"data/applications/velmora.desktop", "[Desktop Entry]\nExec=@P@ play %U\n"},
          {"config/mimeapps.list", toVelmora}},
         true},
        {"two blanks", {{"data/applications/velmora.desktop", "[Desktop Entry]\nExec=@P@  play\n"},
                        {"config/mimeapps.list", toVelmora}},
         true},
        {"without play", {{"data/applications/velmora.desktop", "[Desktop Entry]\nExec=@P@\n"},
                          {"config/mimeapps.list", toVelmora}},
         true},
        {"another player", {{"config/mimeapps.list", toOther}}, true},
        {"nothing at all", {}, true},
        {"entry named but not installed", {{"config/mimeapps.list", toVelmora}}, true},
        {"entry hidden",
         {{"data/applications/velmora.desktop", "[Desktop Entry]\nExec=@P@ play\nHidden=true\n"},
          {"config/mimeapps.list", toVelmora}},
         true},
        {"Exec of another group", {{"data/applications/velmora.desktop",
                                    "[Desktop Entry]\nName=V\n[Desktop Action x]\nExec=@P@ play\n"},
                                   {"config/mimeapps.list", toVelmora}},
         true},
        {"association outside [Default Applications]",
         {{"data/applications/velmora.desktop", velmoraEntry},
          {"config/mimeapps.list", "[Added Associations]\nx-content/audio-cdda=velmora.desktop;\n"}},
         true},
        {"first installed entry of the list",
         {{"data/applications/velmora.desktop", velmoraEntry},
          {"config/mimeapps.list", "[Default Applications]\nx-content/audio-cdda=gone.desktop;velmora.desktop;\n"}},
         false},
        {"system entry through a system list",
         {{"sys/applications/velmora.desktop", velmoraEntry}, {"sys/applications/mimeapps.list", toVelmora}},
         false},
        {"system config list", {{"data/applications/velmora.desktop", velmoraEntry}, {"etc/mimeapps.list", toVelmora}},
         false},
        {"user list before the system's",
         {{"data/applications/velmora.desktop", velmoraEntry},
          {"config/mimeapps.list", toOther},
          {"sys/applications/mimeapps.list", toVelmora}},
         true},
        {"user entry before the system's of the same name",
         {{"data/applications/velmora.desktop", "[Desktop Entry]\nExec=/usr/bin/velmora play\n"},
          {"sys/applications/velmora.desktop", velmoraEntry},
          {"config/mimeapps.list", toVelmora}},
         true},
        {"desktop's own list first",
         {{"data/applications/velmora.desktop", velmoraEntry},
          {"config/mimeapps.list", toVelmora},
          {"config/kde-mimeapps.list", toOther}},
         true,
         {"kde"}},
        {"vendor folder",
         {{"data/applications/acme/velmora.desktop", velmoraEntry},
          {"config/mimeapps.list", "[Default Applications]\nx-content/audio-cdda=acme-velmora.desktop\n"}},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* folder : {"config", "etc", "data", "sys"}) QDir(root.filePath(folder)).removeRecursively();
        write("sys/applications/other-player.desktop", kOtherPlayer);
        for (const File& f : c.files)
            write(QString::fromLatin1(f.path), QByteArray(f.text)
                                                   .replace("@P@", program.toUtf8())
                                                   .replace("@p@", program.toLower().toUtf8()));
        folders.desktops = c.desktops;
        boxes.shown.clear();
        boxes.yesNoAnswer = MsgBox::AnswerNo;
        const auto before = snapshot();

        const AutoRunOutcome outcome = Check_Auto_Run(program, folders, boxes);
        EXPECT_EQ(outcome, c.asks ? AutoRunOutcome::Declined : AutoRunOutcome::AlreadyDefault);
        ASSERT_EQ(boxes.shown.size(), c.asks ? 1u : 0u);
        if (c.asks) {
            EXPECT_EQ(boxes.shown[0].text, kQuestion);
            EXPECT_EQ(boxes.shown[0].title, kTitle);
            EXPECT_EQ(boxes.shown[0].style, MsgBox::Question | MsgBox::YesNo);
        }
        EXPECT_EQ(snapshot(), before);
    }
}

// A Yes sets the association in the user's list and keeps every other line of it.
TEST_F(AutoRunTest, YesWritesTheEntryAndTheAssociationAndKeepsTheRestOfTheList) {
    REQUIRE_TOOLS();
    struct Case {
        const char* name;
        std::optional<QByteArray> before;
        QByteArray after;
    };
    const QByteArray entry = "x-content/audio-cdda=velmora.desktop;";
    const Case cases[] = {
        {"no list", std::nullopt, "[Default Applications]\n" + entry + "\n"},
        {"empty list", QByteArray(), "[Default Applications]\n" + entry + "\n"},
        {"another default, other associations, comments and duplicates",
         "# my defaults\n"
         "[Default Applications]\n"
         "text/html=firefox.desktop;\n"
         "x-content/audio-cdda = other-player.desktop;\n"
         "#x-content/audio-cdda=commented.desktop;\n"
         "image/png=viewer.desktop;\n"
         "x-content/audio-cdda=second.desktop;\n"
         "\n"
         "[Added Associations]\n"
         "x-content/audio-cdda=other-player.desktop;\n"
         "  odd line without equals\n",
         "# my defaults\n"
         "[Default Applications]\n"
         "text/html=firefox.desktop;\n" +
             entry +
             "\n"
             "#x-content/audio-cdda=commented.desktop;\n"
             "image/png=viewer.desktop;\n"
             "\n"
             "[Added Associations]\n"
             "x-content/audio-cdda=other-player.desktop;\n"
             "  odd line without equals\n"},
        {"group without the type, then another group",
         "[Default Applications]\ntext/html=firefox.desktop;\n\n\n[Removed Associations]\nimage/png=x.desktop;\n",
         "[Default Applications]\ntext/html=firefox.desktop;\n" + entry +
             "\n\n\n[Removed Associations]\nimage/png=x.desktop;\n"},
        {"group last, no final line end", "[Added Associations]\na/b=c.desktop;\n[Default Applications]\ntext/html=f.desktop;",
         "[Added Associations]\na/b=c.desktop;\n[Default Applications]\ntext/html=f.desktop;\n" + entry + "\n"},
        {"no such group, no final line end", "[Added Associations]\na/b=c.desktop;",
         "[Added Associations]\na/b=c.desktop;\n\n[Default Applications]\n" + entry + "\n"},
        {"CR LF lines", "[Default Applications]\r\ntext/html=f.desktop;\r\n",
         "[Default Applications]\r\ntext/html=f.desktop;\r\n" + entry + "\r\n"},
        {"second group of the name", "[Default Applications]\na/b=c;\n[Other]\n[Default Applications]\nx-content/audio-cdda=o;\n",
         "[Default Applications]\na/b=c;\n[Other]\n[Default Applications]\n" + entry + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(path("config")).removeRecursively();
        QDir(path("data")).removeRecursively();
        if (c.before) write("config/mimeapps.list", *c.before);
        boxes.shown.clear();
        boxes.yesNoAnswer = MsgBox::AnswerYes;

        EXPECT_EQ(Check_Auto_Run(program, folders, boxes), AutoRunOutcome::MadeDefault);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(read(userList()), c.after);
        EXPECT_EQ(read(userEntry()), velmoraDesktopEntry(program).toUtf8());
        EXPECT_EQ(validate(userEntry()), QString());
        EXPECT_EQ(xdgMimeDefault(), kDesktopEntryName);
        // The next start finds it set.
        EXPECT_EQ(Check_Auto_Run(program, folders, boxes), AutoRunOutcome::AlreadyDefault);
        EXPECT_EQ(boxes.shown.size(), 1u);
    }
}

// The desktop reads back and runs what a Yes wrote, whatever the program's path holds.
// Not a "%": the entry has it as "%%", as the format wants, but GLib looks for the
// program under the unexpanded name and drops the entry.
TEST_F(AutoRunTest, TheDesktopRunsTheEntryForAnyProgramPath) {
    REQUIRE_TOOLS();
    const QString folders_[] = {
        QStringLiteral("My Apps"),
        QStringLiteral("dollar $HOME and `tick`"),
        QStringLiteral("quote\"s and 'single'"),
        QStringLiteral("back\\slash"),
        QStringLiteral("(beta) #1 & co; ~me | <x> * ?"),
        QStringLiteral("Caf\u00e9 \u00fcber"),
        QStringLiteral("tab\there"),
    };
    boxes.yesNoAnswer = MsgBox::AnswerYes;
    for (const QString& folder : folders_) {
        SCOPED_TRACE(folder.toStdString());
        program = makeProgram(QStringLiteral("progs/") + folder);
        write("config/mimeapps.list", "[Default Applications]\nx-content/audio-cdda=other-player.desktop;\n");
        QFile::remove(path("ran.txt"));
        boxes.shown.clear();

        ASSERT_EQ(Check_Auto_Run(program, folders, boxes), AutoRunOutcome::MadeDefault);
        EXPECT_EQ(validate(userEntry()), QString());
        const QString gioDefault = run(QStringLiteral("gio"), {"mime", kAudioCdContentType})->section(u'\n', 0, 0);
        EXPECT_TRUE(gioDefault.endsWith(QStringLiteral(": velmora.desktop"))) << gioDefault.toStdString();
        run(QStringLiteral("gio"), {"launch", userEntry()});
        QElapsedTimer waited;
        waited.start();
        while (!read(path("ran.txt")).endsWith("play\n") && waited.elapsed() < 10000) QThread::msleep(20);
        EXPECT_EQ(QString::fromUtf8(read(path("ran.txt"))), program + QStringLiteral("\nplay\n"));

        EXPECT_EQ(Check_Auto_Run(program, folders, boxes), AutoRunOutcome::AlreadyDefault);
        EXPECT_EQ(boxes.shown.size(), 1u);
    }
}

// A file that cannot be read or written is reported; a list that cannot be read is never
// overwritten, and nothing else is written either.
TEST_F(AutoRunTest, FilesThatCannotBeWrittenAreReported) {
    struct Case {
        const char* name;
        const char* plainFile;    // a file where a folder or list should be
        const char* listAsFolder; // the list's place taken by a folder
        bool entryWritten;
        const char* mentions;
    };
    const Case cases[] = {
        {"list is a folder", nullptr, "config/mimeapps.list", false, "Cannot read"},
        {"config folder is a file", "config", nullptr, true, "config"},
        {"data folder is a file", "data", nullptr, false, "data"},
    };
    boxes.yesNoAnswer = MsgBox::AnswerYes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(path("config")).removeRecursively();
        QDir(path("data")).removeRecursively();
        QFile::remove(path("config"));
        QFile::remove(path("data"));
        if (c.plainFile) write(QString::fromLatin1(c.plainFile), "not a folder");
        if (c.listAsFolder) QDir().mkpath(path(QString::fromLatin1(c.listAsFolder)));
        boxes.shown.clear();

        EXPECT_EQ(Check_Auto_Run(program, folders, boxes), AutoRunOutcome::Failed);
        ASSERT_EQ(boxes.shown.size(), 2u);
        const auto& box = boxes.shown[1];
        EXPECT_EQ(box.title, kTitle);
        EXPECT_EQ(box.style, MsgBox::Critical | MsgBox::OkOnly);
        EXPECT_TRUE(box.text.startsWith(
            QStringLiteral("Velmora could not set itself as your default Audio Player.\r\n\r\n")));
        EXPECT_TRUE(box.text.contains(QString::fromLatin1(c.mentions))) << box.text.toStdString();
        EXPECT_EQ(QFileInfo(userEntry()).isFile(), c.entryWritten);
        EXPECT_FALSE(QFileInfo(userList()).isFile());
    }
}

TEST_F(AutoRunTest, ASymlinkedListStaysALinkToTheUpdatedFile) {
    write("dotfiles/mimeapps.list", "[Default Applications]\ntext/html=f.desktop;\n");
    QDir().mkpath(path("config"));
    ASSERT_TRUE(QFile::link(path("dotfiles/mimeapps.list"), userList()));
    boxes.yesNoAnswer = MsgBox::AnswerYes;
    EXPECT_EQ(Check_Auto_Run(program, folders, boxes), AutoRunOutcome::MadeDefault);
    EXPECT_TRUE(QFileInfo(userList()).isSymLink());
    EXPECT_EQ(read(path("dotfiles/mimeapps.list")),
              "[Default Applications]\ntext/html=f.desktop;\nx-content/audio-cdda=velmora.desktop;\n");
}

TEST(XdgFoldersFromEnvironment, VariablesWinAndRelativeOnesAreIgnored) {
    const char* names[] = {"HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS",
                           "XDG_CURRENT_DESKTOP"};
    std::map<std::string, std::optional<QByteArray>> saved;
    for (const char* n : names) saved[n] = qEnvironmentVariableIsSet(n) ? std::optional(qgetenv(n)) : std::nullopt;

    qputenv("HOME", "/home/ann");
    qputenv("XDG_CONFIG_HOME", "/c");
    qputenv("XDG_CONFIG_DIRS", "/e1:relative:/e2/");
    qputenv("XDG_DATA_HOME", "/d");
    qputenv("XDG_DATA_DIRS", "/s1::/s2");
    qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    XdgFolders set = XdgFolders::fromEnvironment();
    EXPECT_EQ(set.configHome, "/c");
    EXPECT_EQ(set.configDirs, QStringList({"/e1", "/e2"}));
    EXPECT_EQ(set.dataHome, "/d");
    EXPECT_EQ(set.dataDirs, QStringList({"/s1", "/s2"}));
    EXPECT_EQ(set.desktops, QStringList({"ubuntu", "gnome"}));

    qputenv("XDG_CONFIG_HOME", "relative");
    for (const char* n : {"XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CURRENT_DESKTOP"}) qunsetenv(n);
    XdgFolders unset = XdgFolders::fromEnvironment();
    EXPECT_EQ(unset.configHome, "/home/ann/.config");
    EXPECT_EQ(unset.configDirs, QStringList({"/etc/xdg"}));
    EXPECT_EQ(unset.dataHome, "/home/ann/.local/share");
    EXPECT_EQ(unset.dataDirs, QStringList({"/usr/local/share", "/usr/share"}));
    EXPECT_TRUE(unset.desktops.isEmpty());

    for (const auto& [n, v] : saved) {
        if (v) qputenv(n.c_str(), *v);
        else qunsetenv(n.c_str());
    }
}
