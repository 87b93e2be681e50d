#include "shared/clean_text.h"

namespace velmora {

QString cleanExternalText(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\t' || u == u'\n' || u == u'\r') out += u' ';
        else if (u >= 0x20 && (u < 0x7F || u > 0x9F)) out += c;
    }
    return out;
}

}  // namespace velmora
