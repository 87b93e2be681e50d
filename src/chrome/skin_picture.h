#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace velmora {

// The skin picture in the file at `path`; a null image when there is none to show: the
// file is missing, is no regular file (a named pipe must never hold up start-up), or is
// not a picture that decodes to its end. Qt fills a JPEG that was cut short with grey and
// reports no error, so a JPEG must reach its end-of-image marker.
QImage readSkinPicture(const QString& path);

// Whether the JPEG in `bytes` runs through its scans to the end-of-image marker.
bool jpegRunsToItsEnd(QByteArrayView bytes);

}  // namespace velmora
