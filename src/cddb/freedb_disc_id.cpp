#include "cddb/freedb_disc_id.h"

#include "shared/units.h"

#include <discid/discid.h>

#include <array>
#include <memory>

namespace velmora {

QString freedbDiscId(const std::vector<int>& trackStartFrames, int leadoutFrame) {
    const std::size_t count = trackStartFrames.size();
    if (count == 0 || count > static_cast<std::size_t>(kMaxTracks)) return {};
    for (std::size_t i = 0; i < count; ++i) {
        if (trackStartFrames[i] < 0 || (i > 0 && trackStartFrames[i] <= trackStartFrames[i - 1])) return {};
    }
    if (leadoutFrame <= trackStartFrames.back()) return {};

    // offsets[0] is the lead-out, offsets[n] the start of track n.
    std::array<int, kMaxTracks + 1> offsets{};
    offsets[0] = leadoutFrame;
    for (std::size_t i = 0; i < count; ++i) offsets[i + 1] = trackStartFrames[i];

    const std::unique_ptr<DiscId, decltype(&discid_free)> disc(discid_new(), &discid_free);
    if (!disc || !discid_put(disc.get(), 1, static_cast<int>(count), offsets.data())) return {};
    return QString::fromLatin1(discid_get_freedb_id(disc.get()));
}

}  // namespace velmora
