#pragma once

#include "platform/cd_drive.h"

#include <QString>

#include <optional>

namespace velmora {

// The virtual disc file (.disc): "track <number> <start frame> <audio|data>" lines, then
// one "leadout <frame>" line; '#' comments and blank lines ignored. Frames are absolute.
// The disc's own titles may stand anywhere, one a line, in UTF-8: "title <text>",
// "performer <text>", "tracktitle <track number> <text>".

struct DiscFileResult {
    std::optional<DiscToc> toc;  // set when the file keeps every rule
    QString error;               // otherwise "FILE:LINE: what is wrong"
};

// `fileName` only names the source in messages.
DiscFileResult parseDiscText(const QByteArray& text, const QString& fileName);
DiscFileResult loadDiscFile(const QString& path);

}  // namespace velmora
