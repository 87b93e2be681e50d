#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

struct XdgFolders;

// The Exec command of the desktop's default application for `contentType`: the first
// entry that the mimeapps.list files name for it and that is installed (and not hidden),
// in the order the desktop reads them. Empty when there is none.
QString defaultApplicationCommand(const XdgFolders& folders, const QString& contentType);

// `list` (a mimeapps.list) with `contentType` mapped to `id` alone in its first
// [Default Applications] group; every other line stays as it was.
QByteArray withDefaultApplication(const QByteArray& list, const QString& contentType, const QString& id);

}  // namespace velmora
