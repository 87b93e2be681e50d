#include "platform/sim/disc_file.h"

#include "shared/clean_text.h"
#include "shared/regular_file.h"
#include "shared/units.h"

#include <QList>
#include <QStringDecoder>

#include <charconv>

namespace velmora {

namespace {

// No real disc holds more than 99:59:74; anything beyond is a typo, not a long disc.
constexpr int kMaxFrame = 100 * 60 * kFramesPerSecond;
// A disc file is a few hundred bytes; refuse to slurp something that clearly is not one.
constexpr qint64 kMaxFileBytes = 1 << 20;

bool parseNumber(const QByteArray& field, int& out) {
    const char* first = field.constData();
    const char* last = first + field.size();
    if (first == last || *first == '+' || *first == '-') return false;
    const auto [ptr, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && ptr == last;
}

// A field as a message can quote it: control bytes (a NUL would end the message where it
// is printed) and bytes that are no UTF-8 shown as \xNN.
QString printable(const QByteArray& field) {
    QString text;
    for (qsizetype i = 0; i < field.size() && text.size() < 40; ++i) {
        const auto byte = static_cast<unsigned char>(field[i]);
        if (byte >= 0x20 && byte < 0x7F) {
            text += QLatin1Char(static_cast<char>(byte));
            continue;
        }
        // A whole UTF-8 character is quoted as itself.
        qsizetype length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 ? 2 : 0;
        if (length > 0 && i + length <= field.size()) {
            QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString character = utf8(QByteArrayView(field).sliced(i, length));
            if (!utf8.hasError() && character.size() <= 2 && character.front().isPrint()) {
                text += character;
                i += length - 1;
                continue;
            }
        }
        text += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    if (text.size() >= 40) text = text.left(40) + QStringLiteral("...");
    return text;
}

}  // namespace

DiscFileResult parseDiscText(const QByteArray& text, const QString& fileName) {
    DiscFileResult result;
    DiscToc toc;
    bool haveLeadout = false;
    int lineNumber = 0;

    auto fail = [&](int line, const QString& what) {
        result.error = QStringLiteral("%1:%2: %3").arg(fileName).arg(line).arg(what);
        return result;
    };

    if (text.startsWith("\xFF\xFE") || text.startsWith("\xFE\xFF"))
        return fail(1, QStringLiteral("the file is UTF-16 text; save it as plain (UTF-8) text"));
    // A byte-order mark some editors put at the top is no part of the first line.
    const QByteArray body = text.startsWith("\xEF\xBB\xBF") ? text.sliced(3) : text;

    const QList<QByteArray> lines = body.split('\n');
    for (const QByteArray& raw : lines) {
        ++lineNumber;
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QList<QByteArray> fields = line.simplified().split(' ');
        const QByteArray& keyword = fields.front();

        // The disc's own titles, as CD-Text would carry them: the rest of the line.
        if (keyword == "title" || keyword == "performer" || keyword == "tracktitle") {
            QByteArray rest = line.sliced(keyword.size()).trimmed();
            int number = 0;
            if (keyword == "tracktitle") {
                const qsizetype blank = rest.indexOf(' ');
                const QByteArray field = blank < 0 ? rest : rest.left(blank);
                if (!parseNumber(field, number) || number < 1 || number > kMaxTracks)
                    return fail(lineNumber, QStringLiteral("expected \"tracktitle <track number> <title>\""));
                rest = blank < 0 ? QByteArray() : rest.sliced(blank).trimmed();
            }
            QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString value = utf8(rest);
            if (utf8.hasError() || value.contains(QChar(u'\0')))
                return fail(lineNumber, QStringLiteral("the %1 \"%2\" is not UTF-8 text")
                                            .arg(QString::fromLatin1(keyword), printable(rest)));
            QString* target = keyword == "title"       ? &toc.text.title
                              : keyword == "performer" ? &toc.text.performer
                                                       : nullptr;
            if (!target) {
                if (toc.text.trackTitles.size() < static_cast<std::size_t>(number))
                    toc.text.trackTitles.resize(static_cast<std::size_t>(number));
                target = &toc.text.trackTitles[static_cast<std::size_t>(number - 1)];
            }
            if (!target->isEmpty())
                return fail(lineNumber, QStringLiteral("a second %1 line").arg(QString::fromLatin1(keyword)) +
                                            (number ? QStringLiteral(" for track %1").arg(number) : QString()));
            *target = cleanExternalText(value);
            continue;
        }

        if (haveLeadout) return fail(lineNumber, QStringLiteral("nothing may follow the leadout line"));

        if (keyword == "track") {
            if (fields.size() != 4)
                return fail(lineNumber, QStringLiteral("expected \"track <number> <start frame> <audio|data>\""));
            int number = 0;
            int start = 0;
            if (!parseNumber(fields[1], number))
                return fail(lineNumber,
                            QStringLiteral("track number \"%1\" is not a whole number").arg(printable(fields[1])));
            const int expected = static_cast<int>(toc.tracks.size()) + 1;
            if (number != expected)
                return fail(lineNumber, QStringLiteral("track %1 expected, found track %2").arg(expected).arg(number));
            if (number > kMaxTracks)
                return fail(lineNumber, QStringLiteral("a disc holds at most %1 tracks").arg(kMaxTracks));
            if (!parseNumber(fields[2], start) || start > kMaxFrame)
                return fail(lineNumber, QStringLiteral("start frame \"%1\" is not a frame number from 0 to %2")
                                            .arg(printable(fields[2]))
                                            .arg(kMaxFrame));
            if (!toc.tracks.empty() && start == toc.tracks.back().startFrame)
                return fail(lineNumber, QStringLiteral("track %1 starts at the same frame as track %2 "
                                                       "before it (%3)")
                                            .arg(number)
                                            .arg(number - 1)
                                            .arg(start));
            if (!toc.tracks.empty() && start < toc.tracks.back().startFrame)
                return fail(lineNumber, QStringLiteral("track %1 starts at %2, not after track %3 (%4)")
                                            .arg(number)
                                            .arg(start)
                                            .arg(number - 1)
                                            .arg(toc.tracks.back().startFrame));
            bool audio = false;
            if (fields[3] == "audio") audio = true;
            else if (fields[3] != "data")
                return fail(lineNumber,
                            QStringLiteral("track kind \"%1\" is neither audio nor data").arg(printable(fields[3])));
            toc.tracks.push_back({number, start, audio});
        } else if (keyword == "leadout") {
            if (fields.size() != 2) return fail(lineNumber, QStringLiteral("expected \"leadout <frame>\""));
            if (toc.tracks.empty()) return fail(lineNumber, QStringLiteral("leadout before any track"));
            int frame = 0;
            if (!parseNumber(fields[1], frame) || frame > kMaxFrame)
                return fail(lineNumber, QStringLiteral("leadout \"%1\" is not a frame number from 0 to %2")
                                            .arg(printable(fields[1]))
                                            .arg(kMaxFrame));
            if (frame <= toc.tracks.back().startFrame)
                return fail(lineNumber, QStringLiteral("leadout %1 does not lie after the start of the last track (%2)")
                                            .arg(frame)
                                            .arg(toc.tracks.back().startFrame));
            toc.leadoutFrame = frame;
            haveLeadout = true;
        } else {
            return fail(lineNumber,
                        QStringLiteral("unknown line \"%1\"; expected track, leadout, title, performer or tracktitle")
                            .arg(printable(keyword)));
        }
    }

    // A trailing newline leaves one empty last element; it is not a line of its own.
    const int lastLine = body.endsWith('\n') ? lineNumber - 1 : lineNumber;
    if (toc.tracks.empty()) return fail(lastLine, QStringLiteral("no track lines"));
    if (!haveLeadout) return fail(lastLine, QStringLiteral("end of file without a leadout line"));
    if (toc.text.trackTitles.size() > toc.tracks.size())
        return fail(lastLine, QStringLiteral("a track title for track %1, but the disc has %2 tracks")
                                  .arg(toc.text.trackTitles.size())
                                  .arg(toc.tracks.size()));
    result.toc = std::move(toc);
    return result;
}

DiscFileResult loadDiscFile(const QString& path) {
    const RegularFile file = readRegularFile(path, kMaxFileBytes);
    DiscFileResult result;
    switch (file.status) {
    case RegularFile::Status::Read:
        return parseDiscText(file.bytes, path);
    case RegularFile::Status::NotRegular:
        result.error = QStringLiteral("%1: cannot read the disc file: %2")
                           .arg(path, file.isFolder() ? QStringLiteral("it is a folder")
                                                      : QStringLiteral("it is not a regular file"));
        break;
    case RegularFile::Status::TooLarge:
        result.error = QStringLiteral("%1: too large for a disc file (%2 bytes)").arg(path).arg(file.size);
        break;
    case RegularFile::Status::Missing:
    case RegularFile::Status::Failed:
        result.error = QStringLiteral("%1: cannot read the disc file: %2").arg(path, file.errorText());
        break;
    }
    return result;
}

}  // namespace velmora
