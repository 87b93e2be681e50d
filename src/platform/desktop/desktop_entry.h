#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace velmora {

// The menu entry, and the hidden entry the desktop runs for an audio CD ("play").
inline const QString kMenuEntryName = QStringLiteral("velmora.desktop");
inline const QString kPlayEntryName = QStringLiteral("velmora-play.desktop");

// `argument` as one argument of a desktop entry's Exec line: in double quotes (with the
// escapes quotes need) when it holds a character the format reserves; "%" doubled.
QString quoteExecArgument(const QString& argument);

// The arguments of an Exec value (string escapes already undone), quotes and "%%" undone;
// nullopt when the quoting is broken.
std::optional<QStringList> execArguments(const QString& exec);

// The value of `key` in `group` of a desktop-entry style file (a desktop entry, a
// mimeapps.list), string escapes undone; nullopt when the group has no such key.
std::optional<QString> keyFileValue(const QString& text, const QString& group, const QString& key);

// The user's audio-CD entry for the program at `programPath`, from the template shipped with
// the program (empty when it is missing from the build).
QString playEntryFor(const QString& programPath);

}  // namespace velmora
