#include "chrome/skin_picture.h"

#include "shared/regular_file.h"

#include <QBuffer>
#include <QImageReader>

namespace velmora {

namespace {
// A skin is a few hundred kilobytes; a file far larger is no skin.
constexpr qint64 kMaxSkinBytes = 64 << 20;
}  // namespace

bool jpegRunsToItsEnd(QByteArrayView bytes) {
    const auto at = [&bytes](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const qsizetype n = bytes.size();
    if (n < 4 || at(0) != 0xFF || at(1) != 0xD8) return false;
    qsizetype i = 2;
    while (i + 2 <= n) {
        if (at(i) != 0xFF) return false;
        const unsigned char marker = at(i + 1);
        if (marker == 0xD9) return true;
        if (marker == 0xFF) {  // fill byte
            ++i;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // markers without a length
            i += 2;
            continue;
        }
        if (i + 4 > n) return false;
        const int length = at(i + 2) << 8 | at(i + 3);
        if (length < 2) return false;
        i += 2 + length;
        if (marker != 0xDA) continue;
        // A scan's coded data runs to the next marker: 0xFF is followed by 0x00 (a coded
        // 0xFF), a restart marker or more fill inside it.
        while (i + 1 < n) {
            if (at(i) != 0xFF) {
                ++i;
                continue;
            }
            const unsigned char next = at(i + 1);
            if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) i += 2;
            else if (next == 0xFF) ++i;
            else break;
        }
    }
    return false;
}

QImage readSkinPicture(const QString& path) {
    RegularFile file = readRegularFile(path, kMaxSkinBytes);
    if (!file.read()) return {};
    QBuffer buffer(&file.bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (reader.format() == "jpeg" && !jpegRunsToItsEnd(file.bytes)) return {};
    return reader.read();
}

}  // namespace velmora
