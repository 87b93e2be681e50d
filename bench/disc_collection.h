#pragma once

// A disc database at the size of a large collection: 10,000 discs of 12 to 20 tracks, in a
// temporary folder, written once per run.
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace velmora::bench {

inline constexpr int kDiscs = 10000;

inline QString collectionDiscId(int i) {
    return QStringLiteral("%1").arg(0x10000000u + static_cast<unsigned>(i) * 7919u, 8, 16, QLatin1Char('0')).toUpper();
}

struct DiscCollection {
    QTemporaryDir dir;
    QString path;
    qint64 bytes = 0;

    // `lastId`, when given, is the ID of the collection's last disc (twelve tracks).
    explicit DiscCollection(const QString& lastId = {}) : path(dir.filePath(QStringLiteral("Velmora.ini"))) {
        QByteArray file;
        for (int i = 0; i < kDiscs; ++i) {
            const bool last = i == kDiscs - 1 && !lastId.isEmpty();
            const int tracks = last ? 12 : 12 + i % 9;
            file += "[" + (last ? lastId : collectionDiscId(i)).toLatin1() + "]\r\nTitle=Album number " +
                    QByteArray::number(i) + "\r\nArtist=Performer " + QByteArray::number(i % 997) +
                    "\r\nRevision=1\r\nNumberOfTracks=" + QByteArray::number(tracks) + "\r\n";
            for (int t = 1; t <= tracks; ++t)
                file += "Track" + QByteArray::number(t) + "=Song title number " + QByteArray::number(t) + "\r\n";
        }
        QFile f(path);
        if (f.open(QIODevice::WriteOnly)) f.write(file);
        bytes = file.size();
    }
};

}  // namespace velmora::bench
