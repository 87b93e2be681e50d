#pragma once

#include <QStringList>
#include <QStringView>

namespace velmora {

// The lines of `text`, each ended by CR LF, LF or CR alone (the end is not kept). What
// follows the last line end is the last line, empty when the text ends in a line end.
QStringList splitLineEnds(QStringView text);

}  // namespace velmora
