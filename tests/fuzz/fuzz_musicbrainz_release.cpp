// The MusicBrainz answer parser: any bytes parse or are refused, never with more tracks than a
// disc holds, and no text it hands on carries a control character.
#include "fuzz_support.h"

#include "cddb/musicbrainz_release.h"
#include "shared/units.h"

using namespace velmora;

namespace {
bool clean(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F)) return false;
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray answer = fuzz::bytesOf(data, size);
    const auto releases = parseMusicBrainzReleases(answer, QStringLiteral("Wn8eRBtfLDfM0qjYPdxrz.Zjs_U-"), 10);
    if (!releases) return 0;
    for (const MusicBrainzRelease& release : *releases) {
        if (release.tracks.size() > static_cast<size_t>(kMaxTracks)) fuzz::broken("too many tracks");
        for (const QString& text : {release.title, release.artist, release.description()})
            if (!clean(text)) fuzz::broken("a control character in", text);
        for (const QString& track : release.tracks)
            if (!clean(track)) fuzz::broken("a control character in a track", track);
    }
    (void)musicBrainzError(answer);
    return 0;
}
