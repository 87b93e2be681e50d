#include "settings/auto_run.h"

#include "platform/message_box.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

namespace velmora {

namespace {

const QString kTitle = QStringLiteral("CD Audio Auto-Run Check");
const QString kPlaceholder = QStringLiteral("@VELMORA_PROGRAM@");
const QByteArray kDefaultGroup = QByteArrayLiteral("[Default Applications]");

QString folderFromEnvironment(const char* name, const QString& fallback) {
    const QString value = qEnvironmentVariable(name);
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : fallback;
}

QStringList folderListFromEnvironment(const char* name, const QStringList& fallback) {
    QStringList folders;
    for (const QString& folder : qEnvironmentVariable(name).split(u':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(folder)) folders.append(QDir::cleanPath(folder));
    return folders.isEmpty() ? fallback : folders;
}

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

// The value of `key` in `group` of a desktop-entry style file, string escapes undone.
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

std::optional<QString> readText(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    return QString::fromUtf8(file.readAll());
}

// The mimeapps.list files in the order the desktop reads them.
QStringList mimeappsLists(const XdgFolders& folders) {
    QStringList configFolders{folders.configHome};
    configFolders += folders.configDirs;
    QStringList lookIn = configFolders;
    lookIn.append(folders.dataHome + QStringLiteral("/applications"));
    for (const QString& dir : folders.dataDirs) lookIn.append(dir + QStringLiteral("/applications"));
    QStringList lists;
    for (const QString& dir : lookIn) {
        for (const QString& desktop : folders.desktops)
            lists.append(dir + u'/' + desktop + QStringLiteral("-mimeapps.list"));
        lists.append(dir + QStringLiteral("/mimeapps.list"));
    }
    return lists;
}

// The file of an installed desktop entry: "vendor-app.desktop" may also live as
// "vendor/app.desktop" below an applications folder.
std::optional<QString> desktopEntryFile(const XdgFolders& folders, const QString& id) {
    QStringList dataFolders{folders.dataHome};
    dataFolders += folders.dataDirs;
    for (const QString& dir : dataFolders) {
        QString relative = id;
        for (;;) {
            const QString path = dir + QStringLiteral("/applications/") + relative;
            if (QFileInfo(path).isFile()) return path;
            const qsizetype dash = relative.indexOf(u'-');
            if (dash < 0) break;
            relative[dash] = u'/';
        }
    }
    return std::nullopt;
}

bool writeAtomically(const QString& path, const QByteArray& data, QString& error) {
    // A symlinked list (a managed dotfile) stays a symlink: its target is replaced.
    const QFileInfo info(path);
    const QString target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
    if (!QDir().mkpath(QFileInfo(target).absolutePath())) {
        error = QStringLiteral("Cannot create the folder %1").arg(QFileInfo(target).absolutePath());
        return false;
    }
    QSaveFile file(target);
    if (file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit()) return true;
    error = QStringLiteral("Cannot write %1: %2").arg(target, file.errorString());
    return false;
}

// `list` with `type` mapped to `id` alone in its first [Default Applications] group;
// every other line stays as it was.
QByteArray withDefaultApplication(const QByteArray& list, const QString& type, const QString& id) {
    QList<QByteArray> lines = list.split('\n');
    const bool endsInNewline = list.isEmpty() || list.endsWith('\n');
    if (endsInNewline) lines.removeLast();
    // New lines end the way the file's lines do.
    const QByteArray cr = !lines.isEmpty() && lines.first().endsWith('\r') ? "\r" : "";
    const QByteArray key = type.toUtf8();
    const QByteArray entry = key + '=' + id.toUtf8() + ';';

    QList<QByteArray> out;
    bool inDefault = false, seenDefault = false, written = false;
    qsizetype firstGroupEnd = -1;
    for (const QByteArray& line : lines) {
        const QByteArray t = line.trimmed();
        if (t.startsWith('[')) {
            if (inDefault && firstGroupEnd < 0) firstGroupEnd = out.size();
            inDefault = t == kDefaultGroup;
            seenDefault = seenDefault || inDefault;
            out.append(line);
            continue;
        }
        const qsizetype eq = t.indexOf('=');
        if (inDefault && !t.startsWith('#') && eq > 0 && t.left(eq).trimmed() == key) {
            // The first entry takes the new value; a later one for the type would contradict it.
            if (!written) out.append(line.endsWith('\r') ? entry + '\r' : entry);
            written = true;
            continue;
        }
        out.append(line);
    }
    if (inDefault && firstGroupEnd < 0) firstGroupEnd = out.size();

    bool finalNewline = endsInNewline;
    // A last line without its end gets one when a line follows it.
    auto endLastLine = [&] {
        if (!finalNewline && !out.isEmpty() && !out.last().endsWith('\r')) out.last() += cr;
        finalNewline = true;
    };
    if (!written && seenDefault) {
        // Blank lines before the next group stay between it and the new entry.
        while (firstGroupEnd > 0 && out[firstGroupEnd - 1].trimmed().isEmpty()) --firstGroupEnd;
        if (firstGroupEnd == out.size()) endLastLine();
        out.insert(firstGroupEnd, entry + cr);
    } else if (!written) {
        endLastLine();
        if (!out.isEmpty() && !out.last().trimmed().isEmpty()) out.append(cr);
        out.append(kDefaultGroup + cr);
        out.append(entry + cr);
        finalNewline = true;
    }
    QByteArray result = out.join('\n');
    if (finalNewline && !out.isEmpty()) result += '\n';
    return result;
}

AutoRunOutcome fail(MessageBoxService& boxes, const QString& why) {
    boxes.show(QStringLiteral("Velmora could not set itself as your default Audio Player.\r\n\r\n") + why, kTitle,
               MsgBox::Critical | MsgBox::OkOnly);
    return AutoRunOutcome::Failed;
}

AutoRunOutcome makeDefault(const QString& programPath, const XdgFolders& folders, MessageBoxService& boxes) {
    const QString entry = velmoraDesktopEntry(programPath);
    if (entry.isEmpty()) return fail(boxes, QStringLiteral("The program's desktop entry template is missing."));

    // Read everything first, so a list that cannot be read leaves both files untouched.
    const QString listPath = folders.configHome + QStringLiteral("/mimeapps.list");
    QByteArray list;
    if (const QFileInfo info(listPath); info.exists()) {
        QFile file(listPath);
        if (!info.isFile()) return fail(boxes, QStringLiteral("Cannot read %1: it is not a file").arg(listPath));
        if (!file.open(QIODevice::ReadOnly))
            return fail(boxes, QStringLiteral("Cannot read %1: %2").arg(listPath, file.errorString()));
        list = file.readAll();
    }
    QString error;
    const QString entryPath = folders.dataHome + QStringLiteral("/applications/") + kDesktopEntryName;
    // The entry first: a default naming an entry that is not there would be skipped.
    if (!writeAtomically(entryPath, entry.toUtf8(), error) ||
        !writeAtomically(listPath, withDefaultApplication(list, kAudioCdContentType, kDesktopEntryName), error))
        return fail(boxes, error);
    return AutoRunOutcome::MadeDefault;
}

}  // namespace

XdgFolders XdgFolders::fromEnvironment() {
    const QString home = QDir::homePath();
    XdgFolders folders;
    folders.configHome = folderFromEnvironment("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    folders.configDirs = folderListFromEnvironment("XDG_CONFIG_DIRS", {QStringLiteral("/etc/xdg")});
    folders.dataHome = folderFromEnvironment("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
    folders.dataDirs =
        folderListFromEnvironment("XDG_DATA_DIRS", {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
    for (const QString& desktop : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts))
        folders.desktops.append(desktop.toLower());
    return folders;
}

QString quoteExecArgument(const QString& argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = argument.isEmpty();
    QString quoted;
    for (const QChar c : argument) {
        if (reserved.contains(c)) quote = true;
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
        quoted += c;
        if (c == u'%') quoted += u'%';
    }
    if (quote) return u'"' + quoted + u'"';
    return QString(argument).replace(u'%', QStringLiteral("%%"));
}

QString expectedPlayCommand(const QString& programPath) {
    return quoteExecArgument(programPath) + QStringLiteral(" play");
}

QString desktopEntryTemplate() {
    QFile file(QStringLiteral(":/velmora/velmora.desktop.in"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

QString velmoraDesktopEntry(const QString& programPath) {
    return desktopEntryTemplate().replace(kPlaceholder, escapeValue(quoteExecArgument(programPath)));
}

QString currentPlayCommand(const XdgFolders& folders) {
    for (const QString& listPath : mimeappsLists(folders)) {
        const auto list = readText(listPath);
        if (!list) continue;
        const auto ids = keyFileValue(*list, QStringLiteral("Default Applications"), kAudioCdContentType);
        if (!ids) continue;
        for (const QString& id : ids->split(u';', Qt::SkipEmptyParts)) {
            const auto path = desktopEntryFile(folders, id.trimmed());
            const auto entry = path ? readText(*path) : std::nullopt;
            if (!entry) continue;
            const QString group = QStringLiteral("Desktop Entry");
            if (keyFileValue(*entry, group, QStringLiteral("Hidden")) == QStringLiteral("true")) continue;
            if (const auto exec = keyFileValue(*entry, group, QStringLiteral("Exec"))) return *exec;
        }
    }
    return {};
}

AutoRunOutcome Check_Auto_Run(const QString& programPath, const XdgFolders& folders, MessageBoxService& boxes) {
    const QString current = currentPlayCommand(folders);
    if (current.toUpper() == expectedPlayCommand(programPath).toUpper()) return AutoRunOutcome::AlreadyDefault;
    const int answer = boxes.show(QStringLiteral("Velmora is not set as your default Audio Player.\r\n\r\n"
                                                 "Would you like to automatically set this now?"),
                                  kTitle, MsgBox::Question | MsgBox::YesNo);
    if (answer != MsgBox::AnswerYes) return AutoRunOutcome::Declined;
    return makeDefault(programPath, folders, boxes);
}

AutoRunOutcome Check_Auto_Run(MessageBoxService& boxes) {
    return Check_Auto_Run(QCoreApplication::applicationFilePath(), XdgFolders::fromEnvironment(), boxes);
}

}  // namespace velmora
