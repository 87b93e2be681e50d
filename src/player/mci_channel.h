#pragma once

#include <QString>

#include <cstdio>
#include <memory>

namespace velmora {

// The room the player gives a drive's reply to a status query.
inline constexpr int kReplyBuffer = 30;

class MciService;
class MessageBoxService;

// The player's one way to the drive. SendMCIString reports failures (optionally in a
// message box); plainSend is the bare send whose reply the caller reads and whose
// result nobody looks at. Every command sent through here is appended, with its result
// code, to the log file named at construction (if any).
class MciChannel {
public:
    MciChannel(MciService& mci, MessageBoxService& boxes, const QString& logPath = {});
    ~MciChannel();
    MciChannel(const MciChannel&) = delete;
    MciChannel& operator=(const MciChannel&) = delete;

    bool SendMCIString(const QString& cmd, bool fShowError);

    // The reply as read from a buffer of `bufferLength` characters: the text before the
    // first NUL (empty when the command failed and wrote nothing).
    QString plainSend(const QString& cmd, int bufferLength);

    // The platform's text for an error code.
    QString errorText(int code) const;

    // The result code of the last send through this channel.
    int lastResult() const { return lastResult_; }
    MciService& service() { return mci_; }

private:
    int send(const QString& cmd, char* buffer, int length);

    MciService& mci_;
    MessageBoxService& boxes_;
    std::FILE* log_ = nullptr;
    int lastResult_ = 0;
};

}  // namespace velmora
