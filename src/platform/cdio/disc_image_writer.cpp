#include "platform/cdio/disc_image_writer.h"

#include "platform/audio/sector_reader.h"
#include "shared/units.h"

#include <QFileInfo>
#include <QSaveFile>

namespace velmora {

namespace {
QByteArray cdTextLine(const char* indent, const char* keyword, const QString& value) {
    if (value.isEmpty()) return {};
    return indent + QByteArray(keyword) + " \"" + QString(value).replace(u'"', u'\'').toUtf8() + "\"\r\n";
}
}  // namespace

bool writeBinCueImage(const QString& cuePath, const std::vector<ImageTrackSpec>& tracks, const FrameFill& fill,
                      QString* error, const DiscText& discText) {
    const QFileInfo cue(cuePath);
    const QString binName = cue.completeBaseName() + QStringLiteral(".bin");
    QSaveFile bin(cue.absolutePath() + QLatin1Char('/') + binName);
    QSaveFile sheet(cuePath);
    if (!bin.open(QIODevice::WriteOnly) || !sheet.open(QIODevice::WriteOnly)) {
        if (error) *error = QStringLiteral("Cannot write the disc image %1").arg(cuePath);
        return false;
    }
    QByteArray text = cdTextLine("", "TITLE", discText.title) + cdTextLine("", "PERFORMER", discText.performer) +
                      "FILE \"" + binName.toUtf8() + "\" BINARY\r\n";
    std::vector<std::int16_t> samples(kSectorBytes / sizeof(std::int16_t));
    QByteArray sector(kSectorBytes, '\0');
    int offset = 0;
    for (std::size_t t = 0; t < tracks.size(); ++t) {
        const int m = offset / (kFramesPerSecond * 60), s = offset / kFramesPerSecond % 60,
                  f = offset % kFramesPerSecond;
        text += QStringLiteral("  TRACK %1 %2\r\n    INDEX 01 %3:%4:%5\r\n")
                    .arg(t + 1, 2, 10, QLatin1Char('0'))
                    .arg(tracks[t].audio ? QStringLiteral("AUDIO") : QStringLiteral("MODE1/2352"))
                    .arg(m, 2, 10, QLatin1Char('0'))
                    .arg(s, 2, 10, QLatin1Char('0'))
                    .arg(f, 2, 10, QLatin1Char('0'))
                    .toUtf8();
        if (t < discText.trackTitles.size()) {
            // CD-Text belongs before the track's index.
            const qsizetype index = text.lastIndexOf("    INDEX 01");
            text.insert(index, cdTextLine("    ", "TITLE", discText.trackTitles[t]));
        }
        for (int frame = 0; frame < tracks[t].frames; ++frame) {
            if (tracks[t].audio) {
                fill(static_cast<int>(t), frame, samples.data());
                char* out = sector.data();
                for (const std::int16_t sample : samples) {
                    const auto v = static_cast<std::uint16_t>(sample);
                    *out++ = static_cast<char>(v & 0xff);  // little-endian, as on a disc
                    *out++ = static_cast<char>(v >> 8);
                }
            } else {
                sector.fill('\0');
            }
            if (bin.write(sector) != kSectorBytes) {
                if (error) *error = QStringLiteral("Cannot write %1: %2").arg(bin.fileName(), bin.errorString());
                return false;
            }
        }
        offset += tracks[t].frames;
    }
    sheet.write(text);
    if (!bin.commit() || !sheet.commit()) {
        if (error) *error = QStringLiteral("Cannot write the disc image %1").arg(cuePath);
        return false;
    }
    return true;
}

}  // namespace velmora
