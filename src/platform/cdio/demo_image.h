#pragma once

#include <QString>

namespace velmora {

// Writes the bundled demo disc image, demo.cue and demo.bin, into `folder` (created when
// missing): twelve short tracks, each a little tune of its own that opens with as many
// pips as its number, so a listener can tell them apart. Everything is synthesised here,
// the same to the sample on every run.
bool writeDemoImage(const QString& folder, QString* error);

}  // namespace velmora
