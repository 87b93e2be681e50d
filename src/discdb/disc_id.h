#pragma once

#include <QString>

#include <cstdint>

namespace velmora {

class MciChannel;

// The disc ID of the disc in the drive, computed from its track table through the
// command channel (msf queries; leaves the device in tmsf). "00000000" with no disc.
QString GetDiscID(MciChannel& mci);

// The sum of the decimal digits of n; 0 for n <= 0.
int DigitSum(std::int32_t n);

}  // namespace velmora
