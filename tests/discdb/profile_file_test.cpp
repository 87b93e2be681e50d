#include "discdb/profile_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <future>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace velmora;
using namespace velmora::profile;

namespace {

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QStringList temporariesIn(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*.tmp-*")}, QDir::Files | QDir::Hidden);
}

class ProfileFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("Velmora.ini")); }
};

}  // namespace

TEST_F(ProfileFileTest, ReadsSectionsWhateverTheLineEndsCommentsAndLetterCase) {
    struct Case {
        const char* name;
        QByteArray file;
        const char* section;
        ReadStatus status;
        QStringList entries;
    };
    const QByteArray kMixed = "[A1]\r\nTitle=Caf\xE9 \x80 \x93quoted\x94 \x81\r\n[B2]\r\nTitle=Caf\xC3\xA9\r\n";
    const Case cases[] = {
        {"name ignores case and blanks", "  [ abc ]  \nk=v\n", "ABC", ReadStatus::Found, {"k=v"}},
        {"comments, blank lines and lines before any section skipped, no final line end",
         "x=1\n[A1]\n; note\n\n   \n  ;x=y\nk=v",
         "A1",
         ReadStatus::Found,
         {"k=v"}},
        {"entries kept as written, with or without '=' or ']'",
         "[A1]\njust text\n[oops\ntitle=A=B  \n",
         "A1",
         ReadStatus::Found,
         {"just text", "[oops", "title=A=B  "}},
        {"first of two equal names wins", "[A1]\na=1\n[a1]\na=2\n", "A1", ReadStatus::Found, {"a=1"}},
        {"an empty first copy gives way to one with entries",
         "[A1]\n; none\n[a1]\nTitle=Real\n",
         "A1",
         ReadStatus::Found,
         {"Title=Real"}},
        {"header without entries", "[A1]\n[B2]\nb=2\n", "A1", ReadStatus::Found, {}},
        {"CR alone, blank lines and no last end", "[A1]\ra=1\r\r  [B2]\r\rb=2", "B2", ReadStatus::Found, {"b=2"}},
        {"UTF-16LE with its mark",
         QByteArray("\xFF\xFE[\0A\0\x31\0]\0\n\0k\0=\0\xE9\0\n\0", 20),
         "A1",
         ReadStatus::Found,
         {QString::fromUtf8("k=\xC3\xA9")}},
        {"UTF-16BE without a mark",
         QByteArray("\0[\0A\0\x31\0]\0\r\0\n\0k\0=\0v", 18),
         "A1",
         ReadStatus::Found,
         {"k=v"}},
        {"broken UTF-16", QByteArray("\xFF\xFE[\0A\0\x31\0]\0\n\0\0\xDC", 14), "A1", ReadStatus::ReadFailed, {}},
        {"missing section", "[B2]\nb=2\n", "A1", ReadStatus::NotFound, {}},
        {"byte-order mark",
         "\xEF\xBB\xBF[A1]\na=\xC3\xA9\n",
         "A1",
         ReadStatus::Found,
         {QString::fromUtf8("a=\xC3\xA9")}},
        // An old database in a single-byte code page, one section since rewritten in UTF-8.
        {"Windows-1252 line",
         kMixed,
         "A1",
         ReadStatus::Found,
         {QString::fromUtf8("Title=Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D ") + QChar(0x81)}},
        {"UTF-8 line in the same file", kMixed, "B2", ReadStatus::Found, {QString::fromUtf8("Title=Caf\xC3\xA9")}},
    };
    for (const Case& c : cases) {
        writeBytes(path(), c.file);
        const SectionRead read = readSection(path(), QString::fromLatin1(c.section));
        EXPECT_EQ(read.status, c.status) << c.name;
        EXPECT_EQ(read.entries, c.entries) << c.name;
    }
}

TEST_F(ProfileFileTest, MissingFileFolderOrNamedPipeNeverBlocksAndIsNamed) {
    EXPECT_EQ(readSection(path(), QStringLiteral("A1")).status, ReadStatus::NotFound);

    for (const QString& kind : {QStringLiteral("folder"), QStringLiteral("named pipe")}) {
        const QString file = dir.filePath(kind);
        ASSERT_TRUE(kind == u"folder" ? QDir().mkdir(file) : ::mkfifo(QFile::encodeName(file), 0600) == 0);
        const QString says = QStringLiteral("is a ") + kind;
        // Run where a blocked open cannot hang the suite; a writer end releases it.
        auto read = std::async(std::launch::async, [&] { return readSection(file, QStringLiteral("A1")); });
        auto write = std::async(std::launch::async, [&] {
            QString why;
            return std::pair(writeSection(file, QStringLiteral("A1"), {QStringLiteral("a=1")}, &why), why);
        });
        const bool readDone = read.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
        const bool writeDone = write.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
        if (!readDone || !writeDone) {
            const int fd = ::open(QFile::encodeName(file), O_RDWR | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        }
        EXPECT_TRUE(readDone) << kind.toStdString() << ": the read blocked";
        EXPECT_TRUE(writeDone) << kind.toStdString() << ": the write blocked";
        const SectionRead got = read.get();
        EXPECT_EQ(got.status, ReadStatus::ReadFailed);
        EXPECT_TRUE(got.error.contains(file) && got.error.contains(says)) << got.error.toStdString();
        const auto [written, why] = write.get();
        EXPECT_FALSE(written);
        EXPECT_TRUE(why.contains(says)) << why.toStdString();
    }
}

TEST_F(ProfileFileTest, WritesTouchOnlyTheirSectionInTheFilesOwnFormAndNeverWhatTheyCannotRead) {
    const auto utf16le = [](const char* text) {
        const QString s = QString::fromUtf8(text);
        return QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
    };
    const auto utf16be = [](const char* text) {
        QByteArray out;
        for (const QChar c : QString::fromUtf8(text)) out += char(c.unicode() >> 8), out += char(c.unicode());
        return out;
    };
    struct Case {
        const char* name;
        QByteArray before;
        const char* section;
        QStringList entries;
        QByteArray after;  // empty: the write is refused and the file left alone
    };
    const QByteArray mine = "; my discs\n[A1]\nTitle=Old\n\n[b2]\r\nTitle=B\xE9\r\n; kept\r\n\r\n[C3]\nTitle=C\n";
    const Case cases[] = {
        // The header keeps its spelling, the section's comments go, the blank line before the next stays.
        {"header spelt otherwise",
         mine,
         "B2",
         {"Title=Neu"},
         "; my discs\n[A1]\nTitle=Old\n\n[b2]\r\nTitle=Neu\r\n\r\n[C3]\nTitle=C\n"},
        {"appended", mine, "D4", {"x=1"}, mine + "[D4]\r\nx=1\r\n"},
        {"line breaks in an entry cannot forge lines",
         "[B2]\nb=2\n",
         "A1",
         {"Title=x\r\n[B2]\nb=forged"},
         "[B2]\nb=2\n[A1]\r\nTitle=x  [B2] b=forged\r\n"},
        {"header without entries filled in place", "[A1]\n[B2]\nb=2\n", "A1", {"a=1"}, "[A1]\na=1\r\n[B2]\nb=2\n"},
        {"appended after a last line without its end", "[A1]\r\na=1", "B2", {"b=2"}, "[A1]\r\na=1\r\n[B2]\r\nb=2\r\n"},
        {"header on the last line without its end", "[A1]\na=1\n[B2]", "B2", {"b=2"}, "[A1]\na=1\n[B2]\r\nb=2\r\n"},
        {"CR alone, new section", "[A1]\ra=1\r", "B2", {"b=\xC3\xA9"}, "[A1]\ra=1\r[B2]\rb=\xE9\r"},
        {"CR alone, rewrite", "[A1]\ra=1\r[B2]\rb=2", "A1", {"a=3"}, "[A1]\ra=3\r[B2]\rb=2"},
        {"empty first copy left alone",
         "[A1]\r\n[A1]\r\nTitle=Real\r\n",
         "A1",
         {"Title=New"},
         "[A1]\r\n[A1]\r\nTitle=New\r\n"},
        {"UTF-16LE",
         utf16le("[A1]\r\na=1\r\n"),
         "B2",
         {"b=\xC3\xA9\xE2\x82\xAC"},
         utf16le("[A1]\r\na=1\r\n[B2]\r\nb=\xC3\xA9\xE2\x82\xAC\r\n")},
        {"UTF-16BE", utf16be("[A1]\na=1\n"), "A1", {"a=2"}, utf16be("[A1]\na=2\r\n")},
        {"broken UTF-16", QByteArray("\xFF\xFE[\0A\0]\0\0\xDC", 10), "A1", {"a=1"}, {}},
        {"too short to be UTF-16, nor after the write",
         QByteArray("\0E\0", 3),
         "A1",
         {"a=1"},
         QByteArray("\0E\0\r\n[A1]\r\na=1\r\n", 16)},
        {"last line ends in a CR alone", "[A1]\na=1\r", "B2", {"b=2"}, "[A1]\na=1\r\n[B2]\r\nb=2\r\n"},
    };
    for (const Case& c : cases) {
        writeBytes(path(), c.before);
        QString why;
        const bool written = writeSection(path(), QString::fromLatin1(c.section), c.entries, &why);
        EXPECT_EQ(written, !c.after.isEmpty()) << c.name;
        EXPECT_EQ(readBytes(path()), c.after.isEmpty() ? c.before : c.after) << c.name;
        if (!written) {
            EXPECT_TRUE(why.contains(path())) << c.name << ": " << why.toStdString();
        }
    }
}

TEST_F(ProfileFileTest, TheCodePageCoversItsWholeHighHalfAndLinesAreWrittenInItWhenTheyReadBackSo) {
    QByteArray all;
    for (int b = 0x80; b <= 0xFF; ++b) all += static_cast<char>(b);
    const QString text = fromWindows1252(all.constData(), all.size());
    ASSERT_EQ(text.size(), 128);
    EXPECT_EQ(text[0], QChar(0x20AC));
    EXPECT_EQ(text[0x8A - 0x80], QChar(0x0160));
    EXPECT_EQ(text[0x9F - 0x80], QChar(0x0178));
    EXPECT_EQ(text[0x9D - 0x80], QChar(0x009D));
    for (int b = 0xA0; b <= 0xFF; ++b) EXPECT_EQ(text[b - 0x80], QChar(b));

    // Each line is written in the 8-bit form when it reads back so, else in UTF-8.
    struct Case {
        QString title;
        QByteArray line;
    } cases[] = {
        {QStringLiteral("Caf\u00e9 \u20ac \u201cq\u201d"), "Title=Caf\xE9 \x80 \x93q\x94"},
        {QStringLiteral("\u65e5\u672c"), "Title=\xE6\x97\xA5\xE6\x9C\xAC"},  // no place in the code page
        {QStringLiteral("\u00c3\u00a9"), "Title=\xC3\x83\xC2\xA9"},          // 8-bit bytes would read as UTF-8
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(writeSection(path(), QStringLiteral("1C02F203"), {QStringLiteral("Title=") + c.title}));
        EXPECT_EQ(readBytes(path()), "[1C02F203]\r\n" + c.line + "\r\n") << c.line.toHex().toStdString();
        EXPECT_EQ(readSection(path(), QStringLiteral("1C02F203")).entries,
                  QStringList{QStringLiteral("Title=") + c.title});
    }
}

TEST_F(ProfileFileTest, WritesReachTheFileAtTheEndOfItsLinksKeepItsModeAndNeverReplaceAReadOnlyOne) {
    // Velmora.ini -> mid.ini -> real.ini: both links stay links.
    const QString real = dir.filePath(QStringLiteral("real.ini"));
    const QString mid = dir.filePath(QStringLiteral("mid.ini"));
    writeBytes(real, "[A1]\na=1\n");
    QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(QFile::link(QStringLiteral("real.ini"), mid));
    ASSERT_TRUE(QFile::link(mid, path()));
    ASSERT_TRUE(writeSection(path(), QStringLiteral("A1"), {QStringLiteral("a=2")}));
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_TRUE(QFileInfo(mid).isSymLink());
    EXPECT_EQ(readBytes(real), QByteArray("[A1]\na=2\r\n"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // Made read-only by its owner: left as it is, for root too.
    ::chmod(QFile::encodeName(real).constData(), 0444);
    QString why;
    EXPECT_FALSE(writeSection(path(), QStringLiteral("A1"), {QStringLiteral("a=3")}, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("read-only"))) << why.toStdString();
    EXPECT_EQ(readBytes(real), QByteArray("[A1]\na=2\r\n"));
    EXPECT_TRUE(QFileInfo(mid).isSymLink());
}

TEST_F(ProfileFileTest, FailedWritesSayWhyAndAFullDiskMidWriteLeavesTheOldFile) {
    // A regular file as the parent folder: fails for root too.
    writeBytes(dir.filePath(QStringLiteral("plain")), "x");
    QString error;
    EXPECT_FALSE(writeSection(dir.filePath(QStringLiteral("plain/Velmora.ini")), QStringLiteral("A1"),
                              {QStringLiteral("a=1")}, &error));
    EXPECT_FALSE(error.isEmpty());

    // A file-size limit fails the temporary file's write part-way, like a full disk, even for root.
    QByteArray before;
    for (int i = 0; i < 200; ++i) before += "[S" + QByteArray::number(i) + "]\r\nTitle=Some title\r\n";
    writeBytes(path(), before);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool ok = writeSection(path(), QStringLiteral("S5"), {QStringLiteral("Title=New")});
        _exit(ok ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(readBytes(path()), before);
    EXPECT_TRUE(temporariesIn(dir.path()).isEmpty());
}

TEST_F(ProfileFileTest, WriterKilledAtRandomLeavesOldOrNewFileNeverATornOne) {
    // Many sections so that a write takes a while; the writer flips one section between two versions.
    QByteArray initial;
    for (int i = 0; i < 400; ++i)
        initial += "[D" + QByteArray::number(i) + "]\r\nTitle=Disc " + QByteArray::number(i) +
                   "\r\nArtist=Someone\r\nTrack1=One\r\nTrack2=Two\r\n";
    const QStringList versionA{QStringLiteral("Title=Version A"), QStringLiteral("Track1=a")};
    QStringList versionB{QStringLiteral("Title=Version B, longer")};
    for (int t = 1; t <= 30; ++t) versionB << QStringLiteral("Track%1=Title of track %1").arg(t);

    // The three files a reader may find.
    writeBytes(path(), initial);
    ASSERT_TRUE(writeSection(path(), QStringLiteral("D200"), versionA));
    const QByteArray withA = readBytes(path());
    ASSERT_TRUE(writeSection(path(), QStringLiteral("D200"), versionB));
    const QByteArray withB = readBytes(path());
    writeBytes(path(), initial);

    auto* rng = QRandomGenerator::global();
    int seenA = 0, seenB = 0, midWrite = 0;
    // The kill delay adapts to the machine's speed so that most kills land inside a write.
    int maxDelayUs = 3000;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    int iterations = 0;
    for (; iterations < 200 && std::chrono::steady_clock::now() < deadline; ++iterations) {
        int progress[2];
        ASSERT_EQ(pipe(progress), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(progress[0]);
            for (unsigned n = static_cast<unsigned>(iterations);; ++n) {
                if (writeSection(path(), QStringLiteral("D200"), (n % 2) ? versionB : versionA))
                    (void)!::write(progress[1], "w", 1);
            }
        }
        ::close(progress[1]);
        std::this_thread::sleep_for(std::chrono::microseconds(rng->bounded(maxDelayUs)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        char done[64];
        const auto completed = ::read(progress[0], done, sizeof done);
        ::close(progress[0]);
        if (completed <= 0) maxDelayUs = std::min(maxDelayUs * 3 / 2, 500000);
        else if (completed > 2) maxDelayUs = std::max(maxDelayUs * 2 / 3, 500);
        midWrite += completed <= 2;

        const QByteArray now = readBytes(path());
        ASSERT_TRUE(now == initial || now == withA || now == withB)
            << "torn file after " << iterations << " kills, " << now.size() << " bytes";
        seenA += now == withA;
        seenB += now == withB;
        // A read clears what the killed writer left behind.
        readSection(path(), QStringLiteral("D1"));
        ASSERT_TRUE(temporariesIn(dir.path()).isEmpty());
    }
    EXPECT_GE(iterations, 20);
    EXPECT_GT(midWrite, iterations / 4);
    EXPECT_GT(seenA, 0);
    EXPECT_GT(seenB, 0);
}
