// The cue sheet and .toc checks. Input: one byte choosing the kind (and the data file's
// size), then the sheet. Any sheet is passed or refused with its name in the reason.
#include "fuzz_support.h"

#include "platform/cdio/image_check.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool toc = data[0] & 1;
    const QString folder = fuzz::scratchFolder();
    // A data file beside the sheet, of a size the sheet may or may not fit.
    static const qint64 sizes[] = {0, 2352, 10 * 2352, 10 * 2352 + 3, 2048 * 4};
    static qint64 written = -1;
    const qint64 dataBytes = sizes[(data[0] >> 1) % std::size(sizes)];
    if (dataBytes != written) {
        fuzz::writeFile(folder + QStringLiteral("/a.bin"), QByteArray(dataBytes, '\x11'));
        written = dataBytes;
    }
    const QString sheet = folder + (toc ? QStringLiteral("/a.toc") : QStringLiteral("/a.cue"));
    fuzz::writeFile(sheet, fuzz::bytesOf(data + 1, size - 1));
    const QString reason = toc ? checkTocFile(sheet) : checkCueSheet(sheet);
    if (!reason.isEmpty() && !reason.contains(QStringLiteral("a.")) && !reason.contains(folder))
        fuzz::broken("a reason that names no file", reason);
    return 0;
}
