#pragma once

// Shared by the fuzz targets: a scratch folder of their own and a stop that prints why,
// so a broken promise shows as a crash with the input that caused it.
#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace velmora::fuzz {

// A folder for the files a target writes, on a memory file system where there is one.
QString scratchFolder();

// Writes `bytes` to `path`, replacing it.
void writeFile(const QString& path, const QByteArray& bytes);

[[noreturn]] inline void broken(const char* what, const QString& detail = {}) {
    std::fprintf(stderr, "broken promise: %s %s\n", what, detail.toLocal8Bit().constData());
    std::abort();
}

inline QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

}  // namespace velmora::fuzz
