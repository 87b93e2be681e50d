#include "cddb/cddb_record.h"

#include "cddb/reply_text.h"
#include "shared/clean_text.h"
#include "shared/units.h"

namespace velmora {

namespace {

QString decodeEscapes(const QString& value) {
    if (!value.contains(u'\\')) return value;
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\\' && i + 1 < value.size()) {
            const QChar next = value.at(i + 1);
            if (next == u'n' || next == u't' || next == u'\\') {
                out += next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t') : QChar(u'\\');
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

// The track index of a "TTITLEn" key, or -1.
int trackIndex(QStringView key) {
    static constexpr QStringView prefix = u"TTITLE";
    if (!key.startsWith(prefix)) return -1;
    const QStringView digits = key.mid(prefix.size());
    if (digits.isEmpty() || digits.size() > 2) return -1;
    int n = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9') return -1;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n < kMaxTracks ? n : -1;
}

void append(std::optional<QString>& field, QStringView part) {
    if (field) field->append(part);
    else field = part.toString();
}

}  // namespace

bool isCddbRecordReply(const QByteArray& reply) { return reply.startsWith("210"); }

QString decodeCddbReply(const QByteArray& reply, const QByteArray& contentType) {
    return decodeReplyText(reply, contentType);
}

QString cddbRefusal(const QByteArray& reply, const QByteArray& contentType) {
    const auto digit = [&reply](int i) { return reply.size() > i && reply[i] >= '0' && reply[i] <= '9'; };
    if (!digit(0) || !digit(1) || !digit(2) ||
        (reply.size() > 3 && reply[3] != ' ' && reply[3] != '\r' && reply[3] != '\n'))
        return {};
    if (reply[0] != '4' && reply[0] != '5') return {};
    if (reply.startsWith("401")) return {};
    const qsizetype end = reply.indexOf('\n');
    return cleanExternalText(decodeReplyText(reply.left(end < 0 ? reply.size() : end), contentType)).trimmed();
}

CddbDiscTitle splitCddbDiscTitle(const QString& discTitle) {
    const qsizetype separator = discTitle.indexOf(QLatin1String(" / "));
    if (separator >= 0) return {discTitle.left(separator), discTitle.mid(separator + 3)};
    const qsizetype slash = discTitle.indexOf(u'/');
    if (slash >= 0) return {discTitle.left(slash), discTitle.mid(slash + 2)};
    return {discTitle, discTitle};
}

std::optional<CddbRecord> parseCddbRecord(const QByteArray& reply, const QByteArray& contentType) {
    if (!isCddbRecordReply(reply)) return std::nullopt;
    const QString text = decodeCddbReply(reply, contentType);
    const QStringView all(text);

    std::optional<QString> discTitle;
    std::vector<std::optional<QString>> tracks;
    // The first line is the status line.
    qsizetype pos = text.indexOf(u'\n');
    while (pos >= 0 && pos < text.size()) {
        ++pos;
        qsizetype end = text.indexOf(u'\n', pos);
        QStringView line = all.mid(pos, (end < 0 ? text.size() : end) - pos);
        pos = end;
        if (line.endsWith(u'\r')) line.chop(1);
        if (line == u".") break;
        if (line.startsWith(u'#')) continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) continue;
        const QStringView key = line.left(equals);
        const QStringView value = line.mid(equals + 1);
        if (key == u"DTITLE") {
            append(discTitle, value);
        } else if (const int index = trackIndex(key); index >= 0) {
            if (static_cast<std::size_t>(index) >= tracks.size()) tracks.resize(static_cast<std::size_t>(index) + 1);
            append(tracks[static_cast<std::size_t>(index)], value);
        }
    }
    if (!discTitle) return std::nullopt;

    CddbRecord record;
    const CddbDiscTitle parts = splitCddbDiscTitle(decodeEscapes(*discTitle));
    record.artist = cleanExternalText(parts.artist);
    record.title = cleanExternalText(parts.title);
    record.tracks.reserve(tracks.size());
    for (const std::optional<QString>& track : tracks)
        record.tracks.push_back(track ? std::optional<QString>(cleanExternalText(decodeEscapes(*track)))
                                      : std::nullopt);
    return record;
}

}  // namespace velmora
