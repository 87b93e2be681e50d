#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace velmora {

// Readers for the text replies of the drive and the settings store. They never fail:
// text that holds no number reads as 0, as the player's display logic expects.

// The leading decimal number of `text`: leading blanks skipped, an optional sign, then
// digits up to the first character that cannot continue the number (a NUL included).
std::int64_t numericValue(const QString& text);

// Characters first..last (1-based, inclusive) of `text` read as a whole number;
// conversion stops at a NUL or a non-digit.
std::int64_t wholeNumberAt(const QString& text, int first, int last);

// Minutes and seconds of an mm:ss:ff reply: the numeric value of its first two
// characters, and of the first two characters after its first ":".
int lengthInSeconds(const QString& mmssff);

// A stored setting that must be a whole number ("Top", "Left", ...): the number when the
// whole text (blanks around it allowed) is one, std::nullopt otherwise.
std::optional<std::int64_t> strictWholeNumber(const QString& text);

// The text up to the first NUL character.
QString beforeNul(const QString& text);

}  // namespace velmora
