#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace velmora {

// The drive's answers from which a disc ID is computed, as read in msf: the disc length
// ("status cd length wait"), the track count reply and each track's start.
struct DiscTocReplies {
    QString length;
    QString trackCount;
    QStringList trackStarts;  // element i-1: the start of track i
};

// The disc ID of those answers: checksum of the tracks' start seconds, playing time and
// track count in upper-case hexadecimal. Every reply that holds no number counts as 0, so
// no disc gives "00000000".
QString discIdFromReplies(const DiscTocReplies& replies);

// The track count as the disc ID reads it: the numeric value of the reply, 16 bits.
std::int16_t discIdTrackCount(const QString& trackCountReply);

// The sum of the decimal digits of n; 0 for n <= 0.
int DigitSum(std::int32_t n);

}  // namespace velmora
