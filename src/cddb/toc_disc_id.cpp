#include "cddb/toc_disc_id.h"

#include "cddb/freedb_disc_id.h"
#include "shared/units.h"

#include <QRegularExpression>

#include <vector>

namespace velmora {

std::optional<int> msfFrames(const QString& reply) {
    static const QRegularExpression msf(QStringLiteral("^\\s*(\\d{1,3}):(\\d{1,2}):(\\d{1,2})\\s*$"));
    const QRegularExpressionMatch m = msf.match(reply);
    if (!m.hasMatch()) return std::nullopt;
    const int seconds = m.capturedView(2).toInt();
    const int frames = m.capturedView(3).toInt();
    if (seconds >= 60 || frames >= kFramesPerSecond) return std::nullopt;
    return (m.capturedView(1).toInt() * 60 + seconds) * kFramesPerSecond + frames;
}

QString cddbDiscIdFromToc(const DiscTocReplies& toc) {
    std::vector<int> starts;
    starts.reserve(static_cast<std::size_t>(toc.trackStarts.size()));
    for (const QString& reply : toc.trackStarts) {
        const std::optional<int> frames = msfFrames(reply);
        if (!frames) return {};
        starts.push_back(*frames);
    }
    const std::optional<int> length = msfFrames(toc.length);
    if (starts.empty() || !length) return {};
    return freedbDiscId(starts, leadoutFromDiscLength(starts.front(), *length));
}

}  // namespace velmora
