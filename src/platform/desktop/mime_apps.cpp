#include "platform/desktop/mime_apps.h"

#include "platform/desktop/desktop_entry.h"
#include "platform/desktop/xdg_folders.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QList>
#include <QProcess>
#include <QStringDecoder>
#include <QStringList>
#include <QTimer>

#include <memory>

namespace velmora {

namespace {

const QByteArray kDefaultGroup = QByteArrayLiteral("[Default Applications]");

}  // namespace

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

DefaultEntryQuery xdgMimeQuery(const XdgFolders& folders) {
    return [folders](const QString& contentType, std::function<void(const QString&)> answer) {
        auto* process = new QProcess(QCoreApplication::instance());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), folders.configHome);
        env.insert(QStringLiteral("XDG_CONFIG_DIRS"), folders.configDirs.join(u':'));
        env.insert(QStringLiteral("XDG_DATA_HOME"), folders.dataHome);
        env.insert(QStringLiteral("XDG_DATA_DIRS"), folders.dataDirs.join(u':'));
        // The desktop's names in their own letter case, when they are the ones asked about.
        const QString desktops = folders.desktops.join(u':');
        if (env.value(QStringLiteral("XDG_CURRENT_DESKTOP")).toLower() != desktops)
            env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), desktops);
        process->setProcessEnvironment(env);
        // One answer, whichever of the process's ends comes first.
        auto reply = std::make_shared<std::function<void(const QString&)>>(std::move(answer));
        auto settle = [process, reply](const QString& id) {
            if (!*reply) return;
            const auto give = std::exchange(*reply, nullptr);
            process->deleteLater();
            give(id);
        };
        QObject::connect(
            process, &QProcess::finished, process, [process, settle](int code, QProcess::ExitStatus status) {
                const bool ok = status == QProcess::NormalExit && code == 0;
                settle(ok ? QString::fromUtf8(process->readAllStandardOutput()).section(u'\n', 0, 0).trimmed()
                          : QString());
            });
        // Without xdg-mime nothing is known; from the event loop, as the process would answer.
        QObject::connect(process, &QProcess::errorOccurred, process, [process, settle](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                QMetaObject::invokeMethod(
                    process, [settle] { settle(QString()); }, Qt::QueuedConnection);
        });
        // A desktop tool that hangs is taken as no answer.
        QTimer::singleShot(10000, process, [process] { process->kill(); });
        process->start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), contentType});
    };
}

bool isPlainText(const QByteArray& list) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = utf8(list);  // the decoder checks as it converts
    return !utf8.hasError() && !list.contains('\0');
}

QByteArray withDefaultApplication(const QByteArray& list, const QString& contentType, const QString& id) {
    QList<QByteArray> lines = list.split('\n');
    const bool endsInNewline = list.isEmpty() || list.endsWith('\n');
    if (endsInNewline) lines.removeLast();
    // New lines end the way the file's lines do.
    const QByteArray cr = !lines.isEmpty() && lines.first().endsWith('\r') ? "\r" : "";
    const QByteArray key = contentType.toUtf8();
    const QByteArray entry = key + '=' + id.toUtf8() + ';';

    QList<QByteArray> out;
    bool inDefault = false, seenDefault = false, written = false;
    bool keptLast = false;  // the file's last line is in `out` as it was
    qsizetype firstGroupEnd = -1;
    for (const QByteArray& line : lines) {
        const QByteArray t = line.trimmed();
        if (t.startsWith('[')) {
            if (inDefault && firstGroupEnd < 0) firstGroupEnd = out.size();
            inDefault = t == kDefaultGroup;
            seenDefault = seenDefault || inDefault;
            out.append(line);
            keptLast = true;
            continue;
        }
        const qsizetype eq = t.indexOf('=');
        if (inDefault && !t.startsWith('#') && eq > 0 && t.left(eq).trimmed() == key) {
            // The first entry takes the new value; a later one for the type would contradict it.
            if (!written) out.append(line.endsWith('\r') ? entry + '\r' : entry);
            written = true;
            keptLast = false;
            continue;
        }
        out.append(line);
        keptLast = true;
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
    }
    // Only the file's own last line may stay without its end, and only while it is last.
    QByteArray result = out.join('\n');
    if (!out.isEmpty() && (finalNewline || !keptLast)) result += '\n';
    return result;
}

}  // namespace velmora
