#pragma once

#include "shared/disc_record.h"

#include <QStringList>

namespace velmora {

// The disc record as the track list editor reads and writes a disc's section. Unlike the
// player's load, values carry no trailing NUL, "NumberOfTracks" is read, and a key the
// section lacks leaves the record's value as it was.
void loadEditorEntries(const QStringList& entries, DiscRecord& disc);

// The section the editor saves: Title, Artist, "Revision=1", NumberOfTracks, then Track1
// (always) and Track2 up to the track count (at most 99), each from the record.
QStringList editorSectionEntries(const DiscRecord& disc);

}  // namespace velmora
