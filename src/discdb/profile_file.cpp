#include "discdb/profile_file.h"

#include "shared/regular_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::profile {

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// One line of the file: [start, contentEnd) is its text without the line end; `next` is
// where the following line starts.
struct Line {
    qsizetype start = 0;
    qsizetype contentEnd = 0;
    qsizetype next = 0;
    bool terminated = false;
};

// A file's lines end in LF (CR LF included), or, in a file holding no LF at all, in CR
// alone, as older editors wrote them.
char lineEndOf(const QByteArray& bytes) { return !bytes.contains('\n') && bytes.contains('\r') ? '\r' : '\n'; }

Line lineAt(const QByteArray& bytes, qsizetype pos, char eol) {
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    Line line;
    line.start = pos;
    const void* nl = std::memchr(data + pos, eol, static_cast<std::size_t>(n - pos));
    const qsizetype end = nl ? static_cast<const char*>(nl) - data : n;
    line.terminated = nl != nullptr;
    line.next = nl ? end + 1 : n;
    line.contentEnd = (end > pos && data[end - 1] == '\r') ? end - 1 : end;
    return line;
}

// Where a line's text starts: past a byte-order mark at the top of the file and past
// leading blanks.
qsizetype textStart(const QByteArray& bytes, const Line& line) {
    qsizetype s = line.start;
    if (s == 0 && bytes.startsWith(kUtf8Bom)) s = 3;
    while (s < line.contentEnd && isBlank(bytes[s])) ++s;
    return s;
}

bool isAscii(const char* data, qsizetype length) {
    for (qsizetype i = 0; i < length; ++i)
        if (static_cast<unsigned char>(data[i]) >= 0x80) return false;
    return true;
}

// The position of the header's closing bracket, or -1 when the line is no header.
qsizetype headerClose(const QByteArray& bytes, qsizetype s, qsizetype contentEnd) {
    if (s >= contentEnd || bytes[s] != '[') return -1;
    const char* data = bytes.constData();
    for (qsizetype i = contentEnd - 1; i > s; --i)
        if (data[i] == ']') return i;
    return -1;
}

// Whether the header name in bytes [from, to) names `section` (letter case ignored).
bool headerNames(const QByteArray& bytes, qsizetype from, qsizetype to, const QString& section,
                 const QByteArray& sectionUtf8) {
    while (from < to && isBlank(bytes[from])) ++from;
    while (to > from && isBlank(bytes[to - 1])) --to;
    const char* name = bytes.constData() + from;
    const qsizetype length = to - from;
    if (isAscii(name, length)) {
        // Disc IDs are plain ASCII: compare bytes without building a string.
        return length == sectionUtf8.size() &&
               qstrnicmp(name, sectionUtf8.constData(), static_cast<std::size_t>(length)) == 0;
    }
    return decodeLine(name, length).compare(section, Qt::CaseInsensitive) == 0;
}

// The first section of the name in the file: its header line and its body, which runs
// to the next header or the end of the file.
struct SectionSpan {
    bool found = false;
    Line header;
    qsizetype bodyEnd = 0;
};

bool hasEntries(const QByteArray& bytes, qsizetype from, qsizetype to, char eol);

// The section of the name in the file. When the name heads more than one section, the
// first that holds entries wins (else the first): an empty copy left by some other tool
// must not hide the titles below it, nor take the defaults in their place.
SectionSpan findSection(const QByteArray& bytes, const QString& section, char eol) {
    const QByteArray sectionUtf8 = section.trimmed().toUtf8();
    const QString wanted = section.trimmed();
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    const qsizetype top = bytes.startsWith(kUtf8Bom) ? 3 : 0;
    SectionSpan span;
    SectionSpan first;
    const auto closeSpan = [&](qsizetype end) {
        span.bodyEnd = end;
        if (hasEntries(bytes, span.header.next, end, eol)) return true;
        if (!first.found) first = span;
        span = SectionSpan{};
        return false;
    };
    // Only a line whose text starts with "[" can be a header: hop from "[" to "[" rather
    // than walking every line of a large file.
    for (qsizetype pos = 0; pos < n;) {
        const void* hit = std::memchr(data + pos, '[', static_cast<std::size_t>(n - pos));
        if (!hit) break;
        const qsizetype bracket = static_cast<const char*>(hit) - data;
        qsizetype start = bracket;
        while (start > top && isBlank(data[start - 1])) --start;
        if (start == top) start = 0;
        else if (data[start - 1] != eol) {
            pos = bracket + 1;
            continue;
        }
        const Line line = lineAt(bytes, start, eol);
        const qsizetype close = headerClose(bytes, bracket, line.contentEnd);
        if (close >= 0) {
            if (span.found && closeSpan(line.start)) return span;
            if (headerNames(bytes, bracket + 1, close, wanted, sectionUtf8)) {
                span.found = true;
                span.header = line;
            }
        }
        pos = line.next;
    }
    if (span.found && closeSpan(n)) return span;
    return first;
}

bool hasEntries(const QByteArray& bytes, qsizetype from, qsizetype to, char eol) {
    for (qsizetype pos = from; pos < to;) {
        const Line line = lineAt(bytes, pos, eol);
        const qsizetype s = textStart(bytes, line);
        if (s < line.contentEnd && bytes[s] != ';') return true;
        pos = line.next;
    }
    return false;
}

QStringList entriesIn(const QByteArray& bytes, qsizetype from, qsizetype to, char eol) {
    QStringList entries;
    for (qsizetype pos = from; pos < to;) {
        const Line line = lineAt(bytes, pos, eol);
        const qsizetype s = textStart(bytes, line);
        if (s < line.contentEnd && bytes[s] != ';')
            entries.append(decodeLine(bytes.constData() + s, line.contentEnd - s));
        pos = line.next;
    }
    return entries;
}

// Start of the run of blank lines that ends the body: kept on a rewrite, since they
// separate the section from the next one.
qsizetype trailingBlankLines(const QByteArray& bytes, qsizetype from, qsizetype to, char eol) {
    qsizetype runStart = from;
    for (qsizetype pos = from; pos < to;) {
        const Line line = lineAt(bytes, pos, eol);
        qsizetype s = line.start;
        while (s < line.contentEnd && isBlank(bytes[s])) ++s;
        if (s < line.contentEnd) runStart = line.next;
        pos = line.next;
    }
    return runStart;
}

// How a file's text is stored: bytes read line by line (see decodeLine), or UTF-16,
// which is read and written as a whole.
struct FileForm {
    enum Encoding { Bytes, Utf16LE, Utf16BE } encoding = Bytes;
    bool bom = false;
    char eol = '\n';
    QByteArray lineEnd() const { return eol == '\r' ? QByteArray("\r") : QByteArray("\r\n"); }
    // What ends the last line of `text`: an LF alone after a CR that the file's last
    // line ends in, so that line keeps its text.
    QByteArray lineEndAfter(const QByteArray& text) const {
        return eol == '\n' && text.endsWith('\r') ? QByteArray("\n") : lineEnd();
    }
    // Lines of a UTF-16 file pass through UTF-8 on their way in and out.
    QByteArray encode(const QString& text) const { return encoding == Bytes ? encodeLine(text) : text.toUtf8(); }
};

QByteArray entryLine(QString entry, const FileForm& form) {
    entry.replace(u'\r', u' ').replace(u'\n', u' ');
    return form.encode(entry) + form.lineEnd();
}

void setError(QString* error, const QString& text) {
    if (error) *error = text;
}

QString errnoText(const QString& what, const QString& path) {
    return QStringLiteral("%1 %2: %3").arg(what, path, QString::fromLocal8Bit(std::strerror(errno)));
}

QString notAFileText(const QString& path, const RegularFile& file) {
    if (file.isFolder()) return QStringLiteral("%1 is a folder, not a file").arg(path);
    if (S_ISFIFO(file.mode)) return QStringLiteral("%1 is a named pipe, not a file").arg(path);
    return QStringLiteral("%1 is not a regular file").arg(path);
}

// The whole of a regular file. A missing file reads as empty with `exists` false.
bool readAllBytes(const QString& path, QByteArray& bytes, bool& exists, mode_t& mode, QString* error) {
    RegularFile file = readRegularFile(path);
    exists = file.read();
    mode = file.mode & 07777;
    switch (file.status) {
    case RegularFile::Status::Read:
        bytes = std::move(file.bytes);
        return true;
    case RegularFile::Status::Missing:
        return true;
    case RegularFile::Status::NotRegular:
        setError(error, notAFileText(path, file));
        return false;
    case RegularFile::Status::TooLarge:
    case RegularFile::Status::Failed:
        break;
    }
    setError(error, QStringLiteral("cannot read %1: %2").arg(path, file.errorText()));
    return false;
}

// Whether every surrogate of the UTF-16 code units is one half of a pair (the decoder
// would quietly put '?' in place of one that is not, and a write would keep it).
bool pairedSurrogates(QByteArrayView units, bool littleEndian) {
    const auto unit = [&](qsizetype i) {
        const auto lo = static_cast<unsigned char>(units[2 * i + (littleEndian ? 0 : 1)]);
        const auto hi = static_cast<unsigned char>(units[2 * i + (littleEndian ? 1 : 0)]);
        return static_cast<char16_t>(hi << 8 | lo);
    };
    const qsizetype n = units.size() / 2;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = unit(i);
        if (u >= 0xDC00 && u <= 0xDFFF) return false;
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 >= n || unit(i + 1) < 0xDC00 || unit(i + 1) > 0xDFFF) return false;
            ++i;
        }
    }
    return true;
}

// Whether the file starts with two characters of UTF-16 that are printable ASCII, their
// byte at `zero` (0: the first of each pair, 1: the second) being the zero one. Only the
// start counts, and what a write appends to a shorter file (a line end, then "[") can
// never complete the pattern: the file reads the same after a write.
bool looksLikeUtf16(const QByteArray& raw, int zero) {
    if (raw.size() < 4) return false;
    for (qsizetype i = 0; i < 4; i += 2) {
        const auto high = static_cast<unsigned char>(raw[i + zero]);
        const auto low = static_cast<unsigned char>(raw[i + 1 - zero]);
        if (high != 0 || low < 0x20 || low >= 0x7F) return false;
    }
    return true;
}

// The form of a file's bytes, and its text as the line reader takes it (UTF-16 turned
// into UTF-8). False, with the reason naming the file, when it is UTF-16 that does not
// decode.
bool understand(const QByteArray& raw, const QString& path, QByteArray& bytes, FileForm& form, QString* error) {
    form = FileForm{};
    const auto at = [&](qsizetype i) { return static_cast<unsigned char>(raw[i]); };
    if (raw.size() >= 2) {
        if (at(0) == 0xFF && at(1) == 0xFE) form = {FileForm::Utf16LE, true};
        else if (at(0) == 0xFE && at(1) == 0xFF) form = {FileForm::Utf16BE, true};
        // No mark, but ASCII text in the high or low bytes of its first characters.
        else if (looksLikeUtf16(raw, 1)) form = {FileForm::Utf16LE, false};
        else if (looksLikeUtf16(raw, 0)) form = {FileForm::Utf16BE, false};
    }
    if (form.encoding == FileForm::Bytes) {
        bytes = raw;
    } else {
        const QByteArrayView units = QByteArrayView(raw).sliced(form.bom ? 2 : 0);
        if (units.size() % 2 != 0 || !pairedSurrogates(units, form.encoding == FileForm::Utf16LE)) {
            setError(error, QStringLiteral("%1 looks like UTF-16 text but is not valid UTF-16; "
                                           "it was left as it is")
                                .arg(path));
            return false;
        }
        QStringDecoder decoder(form.encoding == FileForm::Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                               QStringDecoder::Flag::Stateless);
        bytes = QString(decoder(units)).toUtf8();
    }
    form.eol = lineEndOf(bytes);
    return true;
}

QByteArray storedForm(const QByteArray& bytes, const FileForm& form) {
    if (form.encoding == FileForm::Bytes) return bytes;
    QStringEncoder encoder(form.encoding == FileForm::Utf16LE ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE,
                           QStringEncoder::Flag::Stateless);
    QByteArray out = form.bom
                         ? (form.encoding == FileForm::Utf16LE ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2))
                         : QByteArray();
    out += encoder(QString::fromUtf8(bytes));
    return out;
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<std::size_t>(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        left -= n;
    }
    return true;
}

// Temporary files of writers that died before their rename, named `prefix`... in `folder`.
// Each writer holds the folder's lock until its temporary file is renamed or removed, and
// the system lets go of a lock when its holder dies: whoever holds the lock (`lockFd`), or
// can take it at once, knows that every such file is stale. Others leave them alone.
void removeStaleTemporaries(const QByteArray& folder, const QByteArray& prefix, int lockFd) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    bool locked = lockFd >= 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, prefix.constData(), static_cast<std::size_t>(prefix.size())) != 0) continue;
        // The folder's descriptor is a lock of its own, let go of when it closes.
        if (!locked && ::flock(::dirfd(dir), LOCK_EX | LOCK_NB) != 0) break;
        locked = true;
        ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// The file at the end of a chain of symbolic links (`path` itself when it is none), where
// a write has to go so that every link keeps pointing at the file. A link to nothing
// gives the name it points at, for the write to create.
QString finalTarget(const QString& path) {
    QString target = QFileInfo(path).absoluteFilePath();
    for (int hops = 0; hops < 40; ++hops) {
        const QByteArray name = QFile::encodeName(target);
        char link[4096];
        const ssize_t n = ::readlink(name.constData(), link, sizeof link);
        if (n < 0 || n == static_cast<ssize_t>(sizeof link)) break;
        const QString next = QFile::decodeName(QByteArray(link, n));
        target = QDir::cleanPath(QDir::isAbsolutePath(next) ? next : QFileInfo(target).absolutePath() + u'/' + next);
    }
    return target;
}

QByteArray temporaryPrefix(const QString& target) { return QFile::encodeName(QFileInfo(target).fileName()) + ".tmp-"; }

// Holds an exclusive lock on the folder, so that two processes writing the same file
// (player and command-line tool) cannot lose each other's sections.
class FolderLock {
public:
    explicit FolderLock(const QByteArray& folder)
        : fd_(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ >= 0) {
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~FolderLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

}  // namespace

QString fromWindows1252(const char* data, qsizetype length) {
    static constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                           0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text(length, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        out[i] = (byte >= 0x80 && byte < 0xA0) ? QChar(kHigh[byte - 0x80]) : QChar(byte);
    }
    return text;
}

std::optional<QByteArray> toWindows1252(const QString& text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            bytes[i] = static_cast<char>(c);
            continue;
        }
        // The high half's other characters, and the five control characters the code
        // page leaves undefined, which read back as themselves.
        bool found = false;
        for (int b = 0x80; b < 0xA0 && !found; ++b) {
            const char byte = static_cast<char>(b);
            if (fromWindows1252(&byte, 1).front().unicode() == c) {
                bytes[i] = byte;
                found = true;
            }
        }
        if (!found) return std::nullopt;
    }
    return bytes;
}

namespace {

// A line's bytes as UTF-8, or nothing when they are not valid UTF-8. A mark inside the file
// is text like any other: dropped, a header written with it would never be found again
// (the file's own mark is skipped before this).
std::optional<QString> strictUtf8(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    if (utf8.hasError()) return std::nullopt;
    return text;
}

}  // namespace

QByteArray encodeLine(const QString& text) {
    // The 8-bit form whenever it reads back as written: a line whose 8-bit bytes also
    // form valid UTF-8 would be read as UTF-8, so it is written as UTF-8.
    if (const std::optional<QByteArray> narrow = toWindows1252(text)) {
        if (isAscii(narrow->constData(), narrow->size())) return *narrow;
        if (!strictUtf8(*narrow)) return *narrow;
    }
    return text.toUtf8();
}

QString decodeLine(const char* data, qsizetype length) {
    if (isAscii(data, length)) return QString::fromLatin1(data, length);
    if (std::optional<QString> text = strictUtf8(QByteArrayView(data, length))) return *std::move(text);
    return fromWindows1252(data, length);
}

SectionRead readSection(const QString& filePath, const QString& section) {
    QByteArray raw;
    bool exists = false;
    mode_t mode = 0;
    SectionRead result;
    const QString target = finalTarget(filePath);
    removeStaleTemporaries(QFile::encodeName(QFileInfo(target).absolutePath()), temporaryPrefix(target), -1);
    if (!readAllBytes(filePath, raw, exists, mode, &result.error)) {
        result.status = ReadStatus::ReadFailed;
        return result;
    }
    return sectionIn(raw, section, filePath);
}

SectionRead sectionIn(const QByteArray& raw, const QString& section, const QString& filePath) {
    QByteArray bytes;
    FileForm form;
    SectionRead result;
    if (!understand(raw, filePath, bytes, form, &result.error)) {
        result.status = ReadStatus::ReadFailed;
        return result;
    }
    const SectionSpan span = findSection(bytes, section, form.eol);
    if (!span.found) return result;
    result.status = ReadStatus::Found;
    result.entries = entriesIn(bytes, span.header.next, span.bodyEnd, form.eol);
    return result;
}

QString sectionText(const QStringList& entries) {
    QString text;
    for (const QString& entry : entries) {
        text += entry;
        text += QChar(u'\0');
    }
    text += QChar(u'\0');
    return text;
}

QStringList entriesOf(const QString& sectionText) {
    QStringList entries;
    qsizetype pos = 0;
    while (pos < sectionText.size()) {
        qsizetype nul = sectionText.indexOf(QChar(u'\0'), pos);
        if (nul < 0) nul = sectionText.size();
        if (nul == pos) break;  // the terminating empty string
        entries.append(sectionText.mid(pos, nul - pos));
        pos = nul + 1;
    }
    return entries;
}

bool writeSection(const QString& filePath, const QString& section, const QStringList& entries, QString* error) {
    // Replace what the links point at, not a link.
    const QString target = finalTarget(filePath);
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const QByteArray path = QFile::encodeName(target);

    FolderLock lock(folder);
    if (lock.fd() < 0) {
        setError(error, errnoText(QStringLiteral("cannot open folder"), QFile::decodeName(folder)));
        return false;
    }

    QByteArray raw;
    QByteArray old;
    FileForm form;
    bool exists = false;
    mode_t mode = 0;
    if (!readAllBytes(target, raw, exists, mode, error) || !understand(raw, target, old, form, error)) return false;
    const char eol = form.eol;

    QString name = section.trimmed();
    name.replace(u'\r', u' ').replace(u'\n', u' ');
    QByteArray body;
    for (const QString& entry : entries) body += entryLine(entry, form);

    QByteArray bytes;
    const SectionSpan span = findSection(old, name, eol);
    if (span.found) {
        const qsizetype bodyStart = span.header.next;
        const qsizetype keep = trailingBlankLines(old, bodyStart, span.bodyEnd, eol);
        bytes.reserve(old.size() + body.size() + 2);
        bytes.append(old.constData(), bodyStart);
        if (!span.header.terminated) bytes += form.lineEndAfter(bytes);
        bytes += body;
        bytes.append(old.constData() + keep, span.bodyEnd - keep);
        bytes.append(old.constData() + span.bodyEnd, old.size() - span.bodyEnd);
    } else {
        bytes = old;
        bytes.reserve(old.size() + body.size() + name.size() + 6);
        if (!bytes.isEmpty() && !bytes.endsWith(eol)) bytes += form.lineEndAfter(bytes);
        bytes += '[' + form.encode(name) + ']' + form.lineEnd();
        bytes += body;
    }
    if (exists && bytes == old) return true;
    // The rename would replace a file its owner made read-only (as it would for root).
    if (exists && ((mode & 0222) == 0 || ::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0)) {
        setError(error, QStringLiteral("%1 is read-only").arg(target));
        return false;
    }
    bytes = storedForm(bytes, form);

    const QByteArray prefix = temporaryPrefix(target);
    removeStaleTemporaries(folder, prefix, lock.fd());

    QByteArray tempPath;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        tempPath = folder + '/' + prefix + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        fd = ::open(tempPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        setError(error, errnoText(QStringLiteral("cannot create"), QFile::decodeName(tempPath)));
        return false;
    }
    const auto fail = [&](const QString& what) {
        setError(error, errnoText(what, QFile::decodeName(tempPath)));
        if (fd >= 0) ::close(fd);
        ::unlink(tempPath.constData());
        return false;
    };
    if (exists && ::fchmod(fd, mode) != 0) return fail(QStringLiteral("cannot set mode of"));
    if (!writeAll(fd, bytes)) return fail(QStringLiteral("cannot write"));
    if (::fsync(fd) != 0) return fail(QStringLiteral("cannot flush"));
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return fail(QStringLiteral("cannot close"));
    if (::rename(tempPath.constData(), path.constData()) != 0) return fail(QStringLiteral("cannot rename"));
    // Make the rename itself durable.
    ::fsync(lock.fd());
    return true;
}

}  // namespace velmora::profile
