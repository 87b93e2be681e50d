#include "platform/desktop/auto_run.h"

#include "platform/desktop/desktop_entry.h"
#include "platform/desktop/mime_apps.h"
#include "platform/message_box.h"
#include "shared/regular_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

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
    const QString entry = velmoraDesktopEntry(programPath);
    if (entry.isEmpty()) return fail(boxes, QStringLiteral("The program's desktop entry template is missing."));

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
    QString error;
    const QString entryPath = folders.dataHome + QStringLiteral("/applications/") + kDesktopEntryName;
    // The entry first: a default naming an entry that is not there would be skipped.
    if (!writeAtomically(entryPath, entry.toUtf8(), error) ||
        !writeAtomically(listPath, withDefaultApplication(list, kAudioCdContentType, kDesktopEntryName), error))
        return fail(boxes, error);
    return AutoRunOutcome::MadeDefault;
}

}  // namespace

QString expectedPlayCommand(const QString& programPath) {
    return quoteExecArgument(programPath) + QStringLiteral(" play");
}

void Check_Auto_Run(const QString& programPath, const XdgFolders& folders, MessageBoxService& boxes,
                    std::function<void(AutoRunOutcome)> done) {
    auto finish = [done = std::move(done)](AutoRunOutcome outcome) {
        if (done) done(outcome);
    };
    const QString current = defaultApplicationCommand(folders, kAudioCdContentType);
    if (current.toUpper() == expectedPlayCommand(programPath).toUpper()) {
        finish(AutoRunOutcome::AlreadyDefault);
        return;
    }
    // The answer comes later: the path and folders are kept by value until then.
    boxes.ask(QStringLiteral("Velmora is not set as your default Audio Player.\r\n\r\n"
                             "Would you like to automatically set this now?"),
              kTitle, MsgBox::Question | MsgBox::YesNo, [programPath, folders, &boxes, finish](int answer) {
                  if (answer != MsgBox::AnswerYes) {
                      finish(AutoRunOutcome::Declined);
                      return;
                  }
                  finish(makeDefault(programPath, folders, boxes));
              });
}

}  // namespace velmora
