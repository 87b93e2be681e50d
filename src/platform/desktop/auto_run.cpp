#include "platform/desktop/auto_run.h"

#include "platform/desktop/desktop_entry.h"
#include "platform/desktop/mime_apps.h"
#include "platform/message_box.h"
#include "shared/regular_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace velmora {

namespace {

const QString kTitle = QStringLiteral("CD Audio Auto-Run Check");

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

AutoRunOutcome fail(MessageBoxService& boxes, const QString& why) {
    boxes.show(QStringLiteral("Velmora could not set itself as your default Audio Player.\r\n\r\n") + why, kTitle,
               MsgBox::Critical | MsgBox::OkOnly);
    return AutoRunOutcome::Failed;
}

AutoRunOutcome makeDefault(const QString& programPath, const XdgFolders& folders, MessageBoxService& boxes) {
    // An installed entry that runs this program already needs only the association.
    const bool installed = entryRunsPlay(folders, kPlayEntryName, programPath);
    const QString entry = installed ? QString() : playEntryFor(programPath);
    if (!installed && entry.isEmpty())
        return fail(boxes, QStringLiteral("The program's desktop entry template is missing."));

    // Read everything first, so a list that cannot be read leaves both files untouched.
    const QString listPath = folders.configHome + QStringLiteral("/mimeapps.list");
    QByteArray list;
    if (const RegularFile file = readRegularFile(listPath); file.read()) {
        list = file.bytes;
    } else if (file.status == RegularFile::Status::NotRegular) {
        return fail(boxes, QStringLiteral("Cannot read %1: it is not a file").arg(listPath));
    } else if (file.status != RegularFile::Status::Missing) {
        return fail(boxes, QStringLiteral("Cannot read %1: %2").arg(listPath, file.errorText()));
    }
    if (!isPlainText(list)) return fail(boxes, QStringLiteral("Cannot read %1: it is not UTF-8 text").arg(listPath));
    QString error;
    const QString entryPath = folders.dataHome + QStringLiteral("/applications/") + kPlayEntryName;
    // The entry first: a default naming an entry that is not there would be skipped.
    if ((!installed && !writeAtomically(entryPath, entry.toUtf8(), error)) ||
        !writeAtomically(listPath, withDefaultApplication(list, kAudioCdContentType, kPlayEntryName), error))
        return fail(boxes, error);
    return AutoRunOutcome::MadeDefault;
}

QString canonicalOrClean(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : canonical;
}

}  // namespace

QString expectedPlayCommand(const QString& programPath) {
    return quoteExecArgument(programPath) + QStringLiteral(" play");
}

bool entryRunsPlay(const XdgFolders& folders, const QString& id, const QString& programPath) {
    const auto path = desktopEntryFile(folders, id);
    if (!path) return false;
    const RegularFile file = readRegularFile(*path);
    if (!file.read()) return false;
    const QString text = QString::fromUtf8(file.bytes);
    const QString group = QStringLiteral("Desktop Entry");
    if (keyFileValue(text, group, QStringLiteral("Hidden")) == QStringLiteral("true")) return false;
    const auto exec = keyFileValue(text, group, QStringLiteral("Exec"));
    const auto arguments = exec ? execArguments(*exec) : std::nullopt;
    if (!arguments || arguments->size() != 2 || arguments->at(1).compare(u"play", Qt::CaseInsensitive) != 0)
        return false;
    // What the desktop would start: a path as it stands, a bare name from the PATH.
    const QString& command = arguments->at(0);
    const QString started = command.contains(u'/') ? command : QStandardPaths::findExecutable(command);
    return !started.isEmpty() && canonicalOrClean(started) == canonicalOrClean(programPath);
}

void Check_Auto_Run(const QString& programPath, const XdgFolders& folders, MessageBoxService& boxes,
                    std::function<void(AutoRunOutcome)> done, DefaultEntryQuery query) {
    auto finish = [done = std::move(done)](AutoRunOutcome outcome) {
        if (done) done(outcome);
    };
    if (!query) query = xdgMimeQuery(folders);
    // Both answers come later: the path and folders are kept by value until then.
    query(kAudioCdContentType, [programPath, folders, &boxes, finish](const QString& id) {
        if (entryRunsPlay(folders, id, programPath)) {
            finish(AutoRunOutcome::AlreadyDefault);
            return;
        }
        boxes.ask(QStringLiteral("Velmora is not set as your default Audio Player.\r\n\r\n"
                                 "Would you like to automatically set this now?"),
                  kTitle, MsgBox::Question | MsgBox::YesNo, [programPath, folders, &boxes, finish](int answer) {
                      if (answer != MsgBox::AnswerYes) {
                          finish(AutoRunOutcome::Declined);
                          return;
                      }
                      finish(makeDefault(programPath, folders, boxes));
                  });
    });
}

}  // namespace velmora
