#include "cddb/musicbrainz_disc_id.h"

#include "cddb/freedb_disc_id.h"
#include "cddb/toc_disc_id.h"
#include "shared/units.h"

#include <discid/discid.h>

#include <array>
#include <memory>
#include <optional>

namespace velmora {

MusicBrainzDisc musicBrainzDisc(const std::vector<int>& trackStartFrames, int leadoutFrame, bool lastTrackIsData) {
    std::vector<int> starts = trackStartFrames;
    int leadout = leadoutFrame;
    if (lastTrackIsData && starts.size() > 1) {
        leadout = starts.back() - kSessionGapFrames;
        starts.pop_back();
    }
    const std::size_t count = starts.size();
    if (count == 0 || count > static_cast<std::size_t>(kMaxTracks)) return {};
    for (std::size_t i = 0; i < count; ++i)
        if (starts[i] < 0 || (i > 0 && starts[i] <= starts[i - 1])) return {};
    if (leadout <= starts.back()) return {};

    std::array<int, kMaxTracks + 1> offsets{};
    offsets[0] = leadout;
    for (std::size_t i = 0; i < count; ++i) offsets[i + 1] = starts[i];
    const std::unique_ptr<DiscId, decltype(&discid_free)> disc(discid_new(), &discid_free);
    if (!disc || !discid_put(disc.get(), 1, static_cast<int>(count), offsets.data())) return {};
    MusicBrainzDisc result;
    result.id = QString::fromLatin1(discid_get_id(disc.get()));
    result.toc = QString::fromLatin1(discid_get_toc_string(disc.get())).replace(u' ', u'+');
    result.tracks = static_cast<int>(count);
    return result;
}

MusicBrainzDisc musicBrainzDiscFromToc(const DiscTocReplies& toc, bool lastTrackIsData) {
    const std::optional<TocFrames> frames = tocFrames(toc);
    return frames ? musicBrainzDisc(frames->starts, frames->leadout, lastTrackIsData) : MusicBrainzDisc{};
}

}  // namespace velmora
