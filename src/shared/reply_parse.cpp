#include "shared/reply_parse.h"

namespace velmora {

std::int64_t numericValue(const QString& text) {
    int i = 0;
    const int n = static_cast<int>(text.size());
    while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < n && text[i].isDigit() && text[i].unicode() < 128; ++i) {
        if (value < (std::int64_t{1} << 40)) value = value * 10 + (text[i].unicode() - u'0');
    }
    return negative ? -value : value;
}

std::int64_t wholeNumberAt(const QString& text, int first, int last) {
    if (first < 1 || last < first || first > text.size()) return 0;
    return numericValue(text.mid(first - 1, last - first + 1));
}

int lengthInSeconds(const QString& mmssff) {
    const auto minutes = numericValue(mmssff.left(2));
    const int colon = static_cast<int>(mmssff.indexOf(u':'));
    const auto seconds = colon < 0 ? 0 : numericValue(mmssff.mid(colon + 1, 2));
    return static_cast<int>(minutes * 60 + seconds);
}

std::optional<std::int64_t> strictWholeNumber(const QString& text) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok) return std::nullopt;
    return value;
}

QString beforeNul(const QString& text) {
    const auto nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

}  // namespace velmora
