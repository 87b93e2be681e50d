#pragma once

#include <QString>

#include <optional>

namespace velmora {

inline const QString kDesktopEntryName = QStringLiteral("velmora.desktop");

// `argument` as one argument of a desktop entry's Exec line: in double quotes (with the
// escapes quotes need) when it holds a character the format reserves; "%" doubled.
QString quoteExecArgument(const QString& argument);

// The value of `key` in `group` of a desktop-entry style file (a desktop entry, a
// mimeapps.list), string escapes undone; nullopt when the group has no such key.
std::optional<QString> keyFileValue(const QString& text, const QString& group, const QString& key);

// The desktop entry template shipped with the program, "@VELMORA_PROGRAM@" unfilled;
// empty when it is missing from the build.
QString desktopEntryTemplate();

// The user's desktop entry for the program at `programPath`, from the template.
QString velmoraDesktopEntry(const QString& programPath);

}  // namespace velmora
