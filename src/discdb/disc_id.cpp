#include "discdb/disc_id.h"

#include "player/mci_channel.h"
#include "shared/reply_parse.h"

namespace velmora {

namespace {
constexpr int kReplyBuffer = 30;

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

QString GetDiscID(MciChannel& mci) {
    mci.plainSend(QStringLiteral("set cd time format msf"), kReplyBuffer);

    const QString length = mci.plainSend(QStringLiteral("status cd length wait"), kReplyBuffer);
    std::int32_t totalSeconds = lengthInSeconds(length);
    if (numericValue(length.mid(6, 2)) > 70) ++totalSeconds;

    const QString count =
        mci.plainSend(QStringLiteral("status cd number of tracks wait"), kReplyBuffer);
    const auto tracks = static_cast<std::int16_t>(numericValue(count));

    std::int32_t checksum = 0;
    for (int i = 1; i <= tracks; ++i) {
        const QString start = mci.plainSend(
            QStringLiteral("status cd position track ") + QString::number(i), kReplyBuffer);
        checksum += DigitSum(lengthInSeconds(start));
    }

    mci.plainSend(QStringLiteral("set cd time format tmsf"), kReplyBuffer);

    QString id = hex(tracks);
    if (id.size() != 2) id.prepend(u'0');
    const QString lengthPart = hex(totalSeconds);
    if (lengthPart.size() <= 4) id.prepend(lengthPart.rightJustified(4, u'0'));
    QString sumPart = hex(checksum);
    if (sumPart.size() == 1) sumPart.prepend(u'0');
    return sumPart + id;
}

}  // namespace velmora
