// The .disc reader: any bytes give either a table of contents that keeps the disc's
// rules or a message naming the file and a line.
#include "fuzz_support.h"

#include "platform/sim/disc_file.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const DiscFileResult result = parseDiscText(fuzz::bytesOf(data, size), QStringLiteral("f.disc"));
    if (!result.toc) {
        if (!result.error.startsWith(QStringLiteral("f.disc:"))) fuzz::broken("message without the file", result.error);
        if (result.error.contains(QChar(u'\0'))) fuzz::broken("NUL in the message", result.error);
        return 0;
    }
    const DiscToc& toc = *result.toc;
    if (toc.tracks.empty() || toc.tracks.size() > static_cast<size_t>(kMaxTracks)) fuzz::broken("track count");
    for (size_t i = 1; i < toc.tracks.size(); ++i)
        if (toc.tracks[i].startFrame <= toc.tracks[i - 1].startFrame) fuzz::broken("tracks out of order");
    if (toc.leadoutFrame <= toc.tracks.back().startFrame) fuzz::broken("leadout before the last track");
    return 0;
}
