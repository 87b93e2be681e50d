#include "cddb/cddb_request.h"

namespace velmora {

QString cddbClientVersion() { return QStringLiteral(VELMORA_VERSION); }

QString escapeCddbField(const QString& field) {
    static constexpr char hex[] = "0123456789ABCDEF";
    QString out;
    const QByteArray bytes = field.toUtf8();
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '.' || c == '_' || c == '~' || c == '@';
        if (plain) {
            out += QChar(c);
        } else if (c == ' ') {
            out += u'+';
        } else {
            out += u'%';
            out += QChar(hex[c >> 4]);
            out += QChar(hex[c & 0xF]);
        }
    }
    return out;
}

QString cddbReadUrl(const CddbCategory& category, const CddbLookup& lookup) {
    return QStringLiteral("http://") + lookup.server + QLatin1String(category.urlPiece) + lookup.discId +
           QStringLiteral("&hello=") + escapeCddbField(lookup.userName) + u'+' + QLatin1String(kCddbHostToken) + u'+' +
           QLatin1String(kCddbClientName) + u'+' + escapeCddbField(cddbClientVersion()) + QStringLiteral("&proto=6");
}

}  // namespace velmora
