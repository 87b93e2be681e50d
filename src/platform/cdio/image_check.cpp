#include "platform/cdio/image_check.h"

#include "shared/regular_file.h"
#include "shared/text_lines.h"
#include "shared/units.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringView>
#include <QStringList>

#include <algorithm>
#include <map>
#include <vector>

#include <unistd.h>

namespace velmora {

namespace {

constexpr qint64 kMaxSheetBytes = 1 << 20;
// 44100 samples a second; no disc holds more than 100 minutes.
constexpr qint64 kSamplesPerFrame = 588;
constexpr qint64 kMaxSamples = 100LL * 60 * kSampleRate;

// Splits a line into words, keeping "quoted text" as one word; a quote that is never
// closed is an ordinary character. Written out by hand: the player checks a sheet on every
// start, and this keeps the regular-expression engine out of its memory.
QStringList words(const QString& line) {
    QStringList out;
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (i < n) {
        if (line[i].isSpace()) {
            ++i;
            continue;
        }
        if (line[i] == u'"') {
            const qsizetype close = line.indexOf(u'"', i + 1);
            if (close >= 0) {
                out << line.mid(i + 1, close - i - 1);
                i = close + 1;
                continue;
            }
        }
        const qsizetype start = i;
        while (i < n && !line[i].isSpace()) ++i;
        out << line.mid(start, i - start);
    }
    return out;
}

bool isAsciiNumber(QStringView text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The value of 1 to `maxDigits` ASCII digits, -1 for anything else.
int digitsValue(QStringView text, int maxDigits) {
    if (!isAsciiNumber(text) || text.size() > maxDigits) return -1;
    return text.toInt();
}

bool readLines(const QString& path, QStringList* lines, QString* error) {
    const RegularFile file = readRegularFile(path, kMaxSheetBytes);
    switch (file.status) {
    case RegularFile::Status::Read:
        break;
    case RegularFile::Status::Missing:
        *error = QStringLiteral("%1 does not exist").arg(path);
        return false;
    case RegularFile::Status::NotRegular:
        *error = QStringLiteral("%1 is not a regular file").arg(path);
        return false;
    case RegularFile::Status::TooLarge:
        *error = QStringLiteral("%1 is too large to be a table of contents").arg(path);
        return false;
    case RegularFile::Status::Failed:
        *error = QStringLiteral("%1 cannot be read: %2").arg(path, file.errorText());
        return false;
    }
    const QByteArray& bytes = file.bytes;
    const QString name = QFileInfo(path).fileName();
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        *error = QStringLiteral(
                     "%1, line 1: the file is UTF-16 text, which the image reader cannot "
                     "take; save it as plain text")
                     .arg(name);
        return false;
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        *error = QStringLiteral(
                     "%1, line 1: the file starts with a byte-order mark, which the image "
                     "reader cannot take; save it without one")
                     .arg(name);
        return false;
    }
    const QString text = QString::fromUtf8(bytes);
    *lines = splitLineEnds(text);
    return true;
}

QString dataFilePath(const QString& sheet, const QString& name) {
    const QFileInfo info(name);
    return info.isAbsolute() ? name : QFileInfo(sheet).absolutePath() + QLatin1Char('/') + name;
}

// mm:ss:ff with seconds below 60 and frames below 75; -1 when malformed.
int parseMsf(const QString& text) {
    const QStringList parts = text.split(u':');
    if (parts.size() != 3) return -1;
    const int mm = digitsValue(parts[0], 3), ss = digitsValue(parts[1], 2), ff = digitsValue(parts[2], 2);
    if (mm < 0 || ss < 0 || ff < 0 || ss >= 60 || ff >= kFramesPerSecond) return -1;
    return (mm * 60 + ss) * kFramesPerSecond + ff;
}

// A .toc length: mm:ss:ff or a plain sample count, in samples; -1 when it is neither,
// -2 for a count beyond any disc.
qint64 parseSamples(const QString& text) {
    if (text.contains(QLatin1Char(':'))) {
        const int frames = parseMsf(text);
        return frames < 0 ? -1 : frames * kSamplesPerFrame;
    }
    if (!isAsciiNumber(text)) return -1;
    if (text.size() > 12) return -2;
    const qint64 samples = text.toLongLong();
    return samples > kMaxSamples ? -2 : samples;
}

int sectorSizeOfMode(const QString& mode) {
    const QString m = mode.toUpper();
    if (m == QLatin1String("AUDIO") || m.endsWith(QLatin1String("/2352")) || m == QLatin1String("CDG"))
        return m == QLatin1String("CDG") ? 2448 : 2352;
    if (m.endsWith(QLatin1String("/2048"))) return 2048;
    if (m.endsWith(QLatin1String("/2336"))) return 2336;
    if (m.endsWith(QLatin1String("/2324"))) return 2324;
    return 0;
}

}  // namespace

QString checkCueSheet(const QString& cuePath) {
    QStringList lines;
    QString error;
    if (!readLines(cuePath, &lines, &error)) return error;
    const QString name = QFileInfo(cuePath).fileName();

    struct FileUse {
        QString path;
        int sectorSize = 0;  // 0 until a track names its mode; -1 when tracks disagree
        int lastStart = -1;  // frames from the start of the file, of the last INDEX 01
        int lastTrack = 0;
    };
    std::vector<FileUse> files;
    int tracks = 0;
    int lastNumber = 0;
    bool trackHasIndex1 = true;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList w = words(lines[i]);
        if (w.isEmpty()) continue;
        const QString key = w[0].toUpper();
        const QString where = QStringLiteral("%1, line %2").arg(name).arg(i + 1);
        if (key == QLatin1String("FILE")) {
            if (w.size() < 2) return QStringLiteral("%1: FILE names no data file").arg(where);
            if (!trackHasIndex1) return QStringLiteral("%1: track %2 has no INDEX 01").arg(name).arg(lastNumber);
            files.push_back({dataFilePath(cuePath, w[1]), 0, -1, 0});
        } else if (key == QLatin1String("TRACK")) {
            if (files.empty()) return QStringLiteral("%1: TRACK comes before any FILE line").arg(where);
            if (!trackHasIndex1) return QStringLiteral("%1: track %2 has no INDEX 01").arg(name).arg(lastNumber);
            bool ok = false;
            const int number = w.size() >= 2 ? w[1].toInt(&ok) : 0;
            if (!ok || number < 1 || number > kMaxTracks || number <= lastNumber)
                return QStringLiteral("%1: bad track number").arg(where);
            const int size = w.size() >= 3 ? sectorSizeOfMode(w[2]) : 0;
            if (size == 0) return QStringLiteral("%1: unknown track mode").arg(where);
            FileUse& f = files.back();
            f.sectorSize = (f.sectorSize == 0 || f.sectorSize == size) ? size : -1;
            f.lastTrack = number;
            lastNumber = number;
            trackHasIndex1 = false;
            ++tracks;
        } else if (key == QLatin1String("INDEX") || key == QLatin1String("PREGAP") || key == QLatin1String("POSTGAP")) {
            const QString time = w.size() >= 2 ? w.back() : QString();
            const int frames = parseMsf(time);
            if (frames < 0 || (key == QLatin1String("INDEX") && w.size() != 3))
                return QStringLiteral("%1: bad time \"%2\" (mm:ss:ff, seconds below 60, frames below 75)")
                    .arg(where, time);
            if (key == QLatin1String("INDEX") && lastNumber == 0)
                return QStringLiteral("%1: INDEX comes before any TRACK").arg(where);
            if (key == QLatin1String("INDEX") && w[1].toInt() == 1) {
                FileUse& f = files.back();
                if (frames == f.lastStart)
                    return QStringLiteral("%1: track %2 starts at the same frame as the track before it")
                        .arg(where)
                        .arg(lastNumber);
                if (frames < f.lastStart)
                    return QStringLiteral("%1: track %2 starts earlier than the track before it")
                        .arg(where)
                        .arg(lastNumber);
                f.lastStart = frames;
                trackHasIndex1 = true;
            }
        }
    }
    if (!trackHasIndex1) return QStringLiteral("%1: track %2 has no INDEX 01").arg(name).arg(lastNumber);
    if (tracks == 0) return QStringLiteral("%1 holds no tracks").arg(name);

    // libcdio's BIN/CUE reader takes the data from the .bin named like the sheet,
    // whatever the FILE line says; say so rather than fail obscurely.
    if (files.size() > 1)
        return QStringLiteral("%1 names more than one data file; only single-file images can be played").arg(name);
    const QString expected = QFileInfo(cuePath).absolutePath() + QLatin1Char('/') +
                             QFileInfo(cuePath).completeBaseName() + QStringLiteral(".bin");
    if (QDir::cleanPath(QFileInfo(files.front().path).absoluteFilePath()) != QDir::cleanPath(expected) &&
        QFileInfo::exists(files.front().path))
        return QStringLiteral(
                   "%1 names the data file %2, but it is read from %3: rename the data file "
                   "(or the sheet) so that both have the same name")
            .arg(name, QFileInfo(files.front().path).fileName(), QFileInfo(expected).fileName());

    for (const FileUse& f : files) {
        const QFileInfo data(f.path);
        if (!data.exists()) return QStringLiteral("The data file %1 named by %2 is missing").arg(f.path, name);
        if (!isRegularFile(f.path) || ::access(QFile::encodeName(f.path).constData(), R_OK) != 0)
            return QStringLiteral("The data file %1 named by %2 cannot be read").arg(f.path, name);
        if (f.lastTrack == 0) continue;
        if (data.size() == 0) return QStringLiteral("The data file %1 is empty").arg(f.path);
        if (f.sectorSize > 0) {
            if (data.size() % f.sectorSize != 0)
                return QStringLiteral(
                           "The data file %1 has the wrong size: %2 bytes is not a whole "
                           "number of %3-byte sectors")
                    .arg(f.path)
                    .arg(data.size())
                    .arg(f.sectorSize);
            if (data.size() / f.sectorSize <= f.lastStart)
                return QStringLiteral("The data file %1 is too short: track %2 would start after its end")
                    .arg(f.path)
                    .arg(f.lastTrack);
        }
    }
    return {};
}

QString checkTocFile(const QString& tocPath) {
    QStringList lines;
    QString error;
    if (!readLines(tocPath, &lines, &error)) return error;
    const QString name = QFileInfo(tocPath).fileName();
    int tracks = 0;
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (const qsizetype comment = line.indexOf(QLatin1String("//")); comment >= 0) line.truncate(comment);
        const QStringList w = words(line);
        if (w.isEmpty()) continue;
        const QString key = w[0].toUpper();
        const QString where = QStringLiteral("%1, line %2").arg(name).arg(i + 1);
        if (key == QLatin1String("TRACK")) {
            if (w.size() < 2 || sectorSizeOfMode(w[1]) == 0) return QStringLiteral("%1: unknown track mode").arg(where);
            if (++tracks > kMaxTracks)
                return QStringLiteral("%1: track %2 is one too many; a disc holds at most %3 tracks")
                    .arg(where)
                    .arg(tracks)
                    .arg(kMaxTracks);
        } else if (key == QLatin1String("FILE") || key == QLatin1String("AUDIOFILE") ||
                   key == QLatin1String("DATAFILE")) {
            if (tracks == 0) return QStringLiteral("%1: %2 comes before any TRACK").arg(where, w[0]);
            if (w.size() < 2) return QStringLiteral("%1: %2 names no data file").arg(where, w[0]);
            const QString path = dataFilePath(tocPath, w[1]);
            if (!QFileInfo::exists(path))
                return QStringLiteral("The data file %1 named by %2 is missing").arg(path, name);
            if (!isRegularFile(path))  // libcdio would block on a named pipe
                return QStringLiteral("The data file %1 named by %2 cannot be read").arg(path, name);
            if (QFileInfo(path).size() == 0) return QStringLiteral("The data file %1 is empty").arg(path);
            // What follows the file name: a "#byte" offset, then start and length, each
            // mm:ss:ff or a plain sample count.
            const bool audio = key != QLatin1String("DATAFILE");
            std::vector<qint64> lengths;
            for (int k = 2; k < w.size(); ++k) {
                if (w[k].startsWith(QLatin1Char('#'))) continue;
                const qint64 samples = parseSamples(w[k]);
                if (samples == -2)
                    return QStringLiteral("%1: %2 samples is longer than any disc (100 minutes at most)")
                        .arg(where, w[k]);
                if (samples < 0 && w[k].contains(QLatin1Char(':')))
                    return QStringLiteral("%1: bad time \"%2\" (mm:ss:ff, seconds below 60, frames below 75)")
                        .arg(where, w[k]);
                if (samples < 0)
                    return QStringLiteral("%1: \"%2\" is neither a time (mm:ss:ff) nor a sample count")
                        .arg(where, w[k]);
                lengths.push_back(samples);
            }
            // An audio stretch "start length" that runs past the end of its file.
            if (audio && lengths.size() >= 2 && (lengths[0] + lengths[1]) * 4 > QFileInfo(path).size())
                return QStringLiteral("%1: the track runs past the end of %2 (%3 bytes)")
                    .arg(where, w[1])
                    .arg(QFileInfo(path).size());
        } else if (key == QLatin1String("START") || key == QLatin1String("PREGAP") || key == QLatin1String("INDEX") ||
                   key == QLatin1String("SILENCE") || key == QLatin1String("ZERO")) {
            for (int k = 1; k < w.size(); ++k) {
                const qint64 samples = parseSamples(w[k]);
                if (samples < 0 && w[k].contains(QLatin1Char(':')))
                    return QStringLiteral("%1: bad time \"%2\" (mm:ss:ff, seconds below 60, frames below 75)")
                        .arg(where, w[k]);
                if (samples == -2)
                    return QStringLiteral("%1: %2 samples is longer than any disc (100 minutes at most)")
                        .arg(where, w[k]);
            }
        }
    }
    if (tracks == 0) return QStringLiteral("%1 holds no tracks").arg(name);
    return {};
}

}  // namespace velmora
