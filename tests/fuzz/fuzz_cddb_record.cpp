// The CDDB reply parser: any reply parses or is refused, never with more tracks than a
// disc holds, and its disc title always splits.
#include "fuzz_support.h"

#include "cddb/cddb_record.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray reply = fuzz::bytesOf(data, size);
    (void)isCddbRecordReply(reply);
    const QString text = decodeCddbReply(reply);
    if (text.size() > reply.size()) fuzz::broken("decoded text longer than the reply");
    const std::optional<CddbRecord> record = parseCddbRecord(reply);
    if (record && record->tracks.size() > static_cast<size_t>(kMaxTracks)) fuzz::broken("too many tracks");
    (void)splitCddbDiscTitle(text.left(512));
    return 0;
}
