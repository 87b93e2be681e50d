#include "player/mci_channel.h"

#include "platform/mci_service.h"
#include "platform/message_box.h"

#include <QByteArray>
#include <QFile>

#include <vector>

namespace velmora {

MciChannel::MciChannel(MciService& mci, MessageBoxService& boxes, const QString& logPath) : mci_(mci), boxes_(boxes) {
    if (!logPath.isEmpty()) log_ = std::fopen(QFile::encodeName(logPath).constData(), "a");
}

MciChannel::~MciChannel() {
    if (log_) std::fclose(log_);
}

int MciChannel::send(const QString& cmd, char* buffer, int length) {
    const QByteArray bytes = cmd.toLatin1();
    lastResult_ = mci_.sendString(bytes.toStdString(), buffer, length);
    if (log_) {
        // One line per command; a line break inside a command must not forge a log line.
        QByteArray line = bytes;
        line.replace('\n', "\\n").replace('\r', "\\r");
        std::fprintf(log_, "%s\t%d\n", line.constData(), lastResult_);
        std::fflush(log_);
    }
    return lastResult_;
}

QString MciChannel::errorText(int code) const {
    char text[200] = {0};
    mci_.errorString(code, text, sizeof text);
    return QString::fromLatin1(text);
}

bool MciChannel::SendMCIString(const QString& cmd, bool fShowError) {
    char dummy[1] = {0};
    const int result = send(cmd, dummy, 0);
    if (fShowError && result != 0) boxes_.show(errorText(result), QStringLiteral("Velmora"), MsgBox::OkOnly);
    return result == 0;
}

QString MciChannel::plainSend(const QString& cmd, int bufferLength) {
    if (bufferLength <= 0) {
        char dummy[1] = {0};
        send(cmd, dummy, 0);
        return {};
    }
    std::vector<char> buffer(static_cast<std::size_t>(bufferLength), '\0');
    send(cmd, buffer.data(), bufferLength);
    buffer.back() = '\0';
    return QString::fromLatin1(buffer.data());
}

}  // namespace velmora
