#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace velmora {

struct XdgFolders;

// The file of the installed desktop entry `id` ("vendor-app.desktop" may also live as
// "vendor/app.desktop" below an applications folder); nullopt when none is installed.
std::optional<QString> desktopEntryFile(const XdgFolders& folders, const QString& id);

// Asks which desktop entry the desktop runs for a content type; `answer` gets the entry's
// ID (empty: none) from the event loop, never before the call returns.
using DefaultEntryQuery =
    std::function<void(const QString& contentType, std::function<void(const QString& id)> answer)>;

// The desktop's own answer: `xdg-mime query default` run on `folders` (xdg-utils); none
// where xdg-mime cannot run.
DefaultEntryQuery xdgMimeQuery(const XdgFolders& folders);

// Whether `list` is text a desktop reads as this program does: UTF-8 without NUL bytes.
// Anything else is left alone rather than rewritten.
bool isPlainText(const QByteArray& list);

// `list` (a mimeapps.list that isPlainText) with `contentType` mapped to `id` alone in its
// first [Default Applications] group; every other line stays as it was.
QByteArray withDefaultApplication(const QByteArray& list, const QString& contentType, const QString& id);

}  // namespace velmora
