#include "shared/regular_file.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

bool RegularFile::isFolder() const { return S_ISDIR(mode); }

QString RegularFile::errorText() const { return QString::fromLocal8Bit(std::strerror(error)); }

QString RegularFile::kindText() const {
    if (S_ISDIR(mode)) return QStringLiteral("a folder");
    if (S_ISFIFO(mode)) return QStringLiteral("a named pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode)) return QStringLiteral("a device");
    if (S_ISSOCK(mode)) return QStringLiteral("a socket");
    return QStringLiteral("not a regular file");
}

RegularFile readRegularFile(const QString& path, qint64 maxBytes) {
    RegularFile file;
    const QByteArray name = QFile::encodeName(path);
    const auto failed = [&file](RegularFile::Status status) {
        file.status = status;
        file.error = errno;
        return file;
    };
    struct stat st {};
    // A look first: opening a device can have effects of its own (a tape rewinds).
    if (name.isEmpty() || ::stat(name.constData(), &st) != 0)
        return failed(errno == ENOENT || errno == ENOTDIR || name.isEmpty() ? RegularFile::Status::Missing
                                                                            : RegularFile::Status::Failed);
    file.mode = st.st_mode;
    if (!S_ISREG(st.st_mode)) {
        file.status = RegularFile::Status::NotRegular;
        return file;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return failed(errno == ENOENT ? RegularFile::Status::Missing : RegularFile::Status::Failed);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::fstat(fd, &st) != 0) return failed(RegularFile::Status::Failed);
    file.mode = st.st_mode;
    file.size = st.st_size;
    if (!S_ISREG(st.st_mode)) {
        file.status = RegularFile::Status::NotRegular;
        return file;
    }
    if (maxBytes >= 0 && st.st_size > maxBytes) {
        file.status = RegularFile::Status::TooLarge;
        return file;
    }
    file.bytes.resize(static_cast<qsizetype>(st.st_size));
    qsizetype got = 0;
    for (;;) {
        if (got == file.bytes.size()) file.bytes.resize(got + 65536);  // the file grew meanwhile
        const ssize_t n = ::read(fd, file.bytes.data() + got, static_cast<std::size_t>(file.bytes.size() - got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            file.bytes.clear();
            return failed(RegularFile::Status::Failed);
        }
        if (n == 0) break;
        got += n;
        if (maxBytes >= 0 && got > maxBytes) {
            file.bytes.clear();
            file.size = got;
            file.status = RegularFile::Status::TooLarge;
            return file;
        }
    }
    file.bytes.resize(got);
    file.status = RegularFile::Status::Read;
    return file;
}

bool isRegularFile(const QString& path) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    return !name.isEmpty() && ::stat(name.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace velmora
