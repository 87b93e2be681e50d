#pragma once

// Shared by the fuzz targets: a scratch folder of their own and a stop that prints why,
// so a broken promise shows as a crash with the input that caused it.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace velmora::fuzz {

[[noreturn]] inline void broken(const char* what, const QString& detail = {}) {
    std::fprintf(stderr, "broken promise: %s %s\n", what, detail.toLocal8Bit().constData());
    std::abort();
}

inline QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A folder for the files a target writes, on a memory file system where there is one.
inline QString scratchFolder() {
    static const QString folder = [] {
        const QString base =
            QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        const QString own = QStringLiteral("%1/velmora-fuzz-%2").arg(base).arg(::getpid());
        QDir().mkpath(own);
        return own;
    }();
    return folder;
}

// Writes `bytes` to `path`, replacing it.
inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        broken("cannot write the scratch file", path);
}

}  // namespace velmora::fuzz
