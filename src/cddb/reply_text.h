#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// The charset a Content-Type value declares ("text/plain; charset=GB18030" gives
// "GB18030"), empty when it declares none.
QByteArray declaredCharset(const QByteArray& contentType);

// A server's reply body as text. A declared charset the system knows is honoured; an
// undeclared (or unknown) one is UTF-8 when the bytes are valid UTF-8, else Windows-1252,
// the way the disc database reads its own file.
QString decodeReplyText(const QByteArray& body, const QByteArray& contentType = {});

}  // namespace velmora
