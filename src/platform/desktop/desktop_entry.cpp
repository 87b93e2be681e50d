#include "platform/desktop/desktop_entry.h"

#include <QFile>

namespace velmora {

namespace {

const QString kPlaceholder = QStringLiteral("@VELMORA_PROGRAM@");

// The string-value escapes of the desktop entry format, applied after Exec quoting.
QString escapeValue(const QString& value) {
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\') out += QStringLiteral("\\\\");
        else if (c == u'\n') out += QStringLiteral("\\n");
        else if (c == u'\t') out += QStringLiteral("\\t");
        else if (c == u'\r') out += QStringLiteral("\\r");
        else if (c == u' ' && i == 0) out += QStringLiteral("\\s");
        else out += c;
    }
    return out;
}

QString unescapeValue(const QString& value) {
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const QChar next = value[++i];
        if (next == u's') out += u' ';
        else if (next == u'n') out += u'\n';
        else if (next == u't') out += u'\t';
        else if (next == u'r') out += u'\r';
        else if (next == u'\\') out += u'\\';
        else out += QStringLiteral("\\") + next;  // not an escape of the format: kept as written
    }
    return out;
}

}  // namespace

QString quoteExecArgument(const QString& argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = argument.isEmpty();
    QString quoted;
    for (const QChar c : argument) {
        // Control characters too: a reader strips a form feed or a vertical tab that
        // starts a value, and a launcher splits words at them.
        if (reserved.contains(c) || c.unicode() < 0x20 || c.unicode() == 0x7F) quote = true;
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
        quoted += c;
        if (c == u'%') quoted += u'%';
    }
    if (quote) return u'"' + quoted + u'"';
    return QString(argument).replace(u'%', QStringLiteral("%%"));
}

std::optional<QStringList> execArguments(const QString& exec) {
    QStringList arguments;
    QString current;
    bool inArgument = false, quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\' && i + 1 < exec.size()) {
                current += exec[++i];
            } else {
                current += c;
            }
        } else if (c == u' ' || c == u'\t') {
            if (inArgument) arguments.append(current);
            current.clear();
            inArgument = false;
            continue;
        } else if (c == u'"') {
            quoted = true;
        } else {
            current += c;
        }
        inArgument = true;
    }
    if (quoted) return std::nullopt;
    if (inArgument) arguments.append(current);
    for (QString& argument : arguments) argument.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return arguments;
}

std::optional<QString> keyFileValue(const QString& text, const QString& group, const QString& key) {
    bool inGroup = false;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            inGroup = line == QString(u'[' + group + u']');
            continue;
        }
        if (!inGroup || line.startsWith(u'#')) continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0 && line.left(eq).trimmed() == key) return unescapeValue(line.mid(eq + 1).trimmed().toString());
    }
    return std::nullopt;
}

QString playEntryFor(const QString& programPath) {
    QFile file(QStringLiteral(":/velmora/velmora-play.desktop.in"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).replace(kPlaceholder, escapeValue(quoteExecArgument(programPath)));
}

}  // namespace velmora
