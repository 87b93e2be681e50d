#include "discdb/disc_id.h"

#include "shared/reply_parse.h"

namespace velmora {

namespace {
QString hex(std::int64_t value) { return QString::number(value, 16).toUpper(); }
}  // namespace

int DigitSum(std::int32_t n) {
    int sum = 0;
    while (n > 0) {
        sum += n % 10;
        n /= 10;
    }
    return sum;
}

std::int16_t discIdTrackCount(const QString& trackCountReply) {
    return static_cast<std::int16_t>(numericValue(trackCountReply));
}

QString discIdFromReplies(const DiscTocReplies& replies) {
    std::int32_t totalSeconds = lengthInSeconds(replies.length);
    if (numericValue(replies.length.mid(6, 2)) > 70) ++totalSeconds;

    const std::int16_t tracks = discIdTrackCount(replies.trackCount);
    std::int32_t checksum = 0;
    for (int i = 1; i <= tracks; ++i) {
        const QString start = i <= replies.trackStarts.size() ? replies.trackStarts.at(i - 1) : QString();
        checksum += DigitSum(lengthInSeconds(start));
    }

    QString id = hex(tracks);
    if (id.size() != 2) id.prepend(u'0');
    const QString lengthPart = hex(totalSeconds);
    if (lengthPart.size() <= 4) id.prepend(lengthPart.rightJustified(4, u'0'));
    QString sumPart = hex(checksum);
    if (sumPart.size() == 1) sumPart.prepend(u'0');
    return sumPart + id;
}

}  // namespace velmora
