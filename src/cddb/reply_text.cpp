#include "cddb/reply_text.h"

#include "discdb/profile_file.h"

#include <QStringDecoder>

namespace velmora {

QByteArray declaredCharset(const QByteArray& contentType) {
    for (const QByteArray& part : contentType.split(';')) {
        const QByteArray parameter = part.trimmed();
        if (!parameter.toLower().startsWith("charset=")) continue;
        QByteArray value = parameter.mid(8).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"')) value = value.mid(1, value.size() - 2);
        return value;
    }
    return {};
}

QString decodeReplyText(const QByteArray& body, const QByteArray& contentType) {
    if (const QByteArray charset = declaredCharset(contentType); !charset.isEmpty()) {
        QStringDecoder declared(charset.constData(), QStringDecoder::Flag::Stateless);
        if (declared.isValid()) return declared(body);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(body);
    if (!utf8.hasError()) return text;
    return profile::fromWindows1252(body.constData(), body.size());
}

}  // namespace velmora
