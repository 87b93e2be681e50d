#include "fuzz_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace velmora::fuzz {

QString scratchFolder() {
    static const QString folder = [] {
        const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                                : QDir::tempPath();
        const QString own = QStringLiteral("%1/velmora-fuzz-%2").arg(base).arg(::getpid());
        QDir().mkpath(own);
        return own;
    }();
    return folder;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        broken("cannot write the scratch file", path);
}

}  // namespace velmora::fuzz
