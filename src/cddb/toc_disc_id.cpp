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

std::optional<TocFrames> tocFrames(const DiscTocReplies& toc) {
    TocFrames result;
    result.starts.reserve(static_cast<std::size_t>(toc.trackStarts.size()));
    for (const QString& reply : toc.trackStarts) {
        const std::optional<int> frames = msfFrames(reply);
        if (!frames) return std::nullopt;
        result.starts.push_back(*frames);
    }
    const std::optional<int> length = msfFrames(toc.length);
    if (result.starts.empty() || !length) return std::nullopt;
    result.leadout = leadoutFromDiscLength(result.starts.front(), *length);
    return result;
}

QString cddbDiscIdFromToc(const DiscTocReplies& toc) {
    const std::optional<TocFrames> frames = tocFrames(toc);
    return frames ? freedbDiscId(frames->starts, frames->leadout) : QString();
}

}  // namespace velmora
