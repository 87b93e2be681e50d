#include "platform/sim/disc_file.h"

#include <QFile>
#include <QList>

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

QString printable(const QByteArray& field) {
    QString text = QString::fromUtf8(field);
    if (text.size() > 40) text = text.left(40) + QStringLiteral("...");
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

    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray& raw : lines) {
        ++lineNumber;
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QList<QByteArray> fields = line.simplified().split(' ');
        const QByteArray& keyword = fields.front();

        if (haveLeadout)
            return fail(lineNumber, QStringLiteral("nothing may follow the leadout line"));

        if (keyword == "track") {
            if (fields.size() != 4)
                return fail(lineNumber,
                            QStringLiteral("expected \"track <number> <start frame> <audio|data>\""));
            int number = 0;
            int start = 0;
            if (!parseNumber(fields[1], number))
                return fail(lineNumber, QStringLiteral("track number \"%1\" is not a whole number")
                                            .arg(printable(fields[1])));
            const int expected = static_cast<int>(toc.tracks.size()) + 1;
            if (number != expected)
                return fail(lineNumber, QStringLiteral("track %1 expected, found track %2")
                                            .arg(expected)
                                            .arg(number));
            if (number > kMaxTracks)
                return fail(lineNumber, QStringLiteral("a disc holds at most %1 tracks").arg(kMaxTracks));
            if (!parseNumber(fields[2], start) || start > kMaxFrame)
                return fail(lineNumber, QStringLiteral("start frame \"%1\" is not a frame number from 0 to %2")
                                            .arg(printable(fields[2]))
                                            .arg(kMaxFrame));
            if (!toc.tracks.empty() && start <= toc.tracks.back().startFrame)
                return fail(lineNumber, QStringLiteral("track %1 starts at %2, not after track %3 (%4)")
                                            .arg(number)
                                            .arg(start)
                                            .arg(number - 1)
                                            .arg(toc.tracks.back().startFrame));
            bool audio = false;
            if (fields[3] == "audio")
                audio = true;
            else if (fields[3] != "data")
                return fail(lineNumber, QStringLiteral("track kind \"%1\" is neither audio nor data")
                                            .arg(printable(fields[3])));
            toc.tracks.push_back({number, start, audio});
        } else if (keyword == "leadout") {
            if (fields.size() != 2)
                return fail(lineNumber, QStringLiteral("expected \"leadout <frame>\""));
            if (toc.tracks.empty())
                return fail(lineNumber, QStringLiteral("leadout before any track"));
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
            return fail(lineNumber, QStringLiteral("unknown line \"%1\"; expected track or leadout")
                                        .arg(printable(keyword)));
        }
    }

    // A trailing newline leaves one empty last element; it is not a line of its own.
    const int lastLine = text.endsWith('\n') ? lineNumber - 1 : lineNumber;
    if (toc.tracks.empty()) return fail(lastLine, QStringLiteral("no track lines"));
    if (!haveLeadout) return fail(lastLine, QStringLiteral("end of file without a leadout line"));
    result.toc = std::move(toc);
    return result;
}

DiscFileResult loadDiscFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        DiscFileResult result;
        result.error = QStringLiteral("%1: cannot read the disc file: %2").arg(path, file.errorString());
        return result;
    }
    if (file.size() > kMaxFileBytes) {
        DiscFileResult result;
        result.error = QStringLiteral("%1: too large for a disc file (%2 bytes)").arg(path).arg(file.size());
        return result;
    }
    return parseDiscText(file.read(kMaxFileBytes + 1), path);
}

}  // namespace velmora
