#pragma once

#include "shared/disc_text.h"

#include <string>

namespace velmora {

// The command-string service: the contract of the platform's mciSendString and
// mciGetErrorString. Replies are written NUL-terminated into a caller's buffer of fixed
// length; a reply that does not fit gives error 268 and leaves the buffer empty. A
// buffer of length 0 (or null) discards the reply without error.
class MciService {
public:
    virtual ~MciService() = default;

    // Returns 0 or an error code.
    virtual int sendString(const std::string& command, char* buffer, int bufferLength) = 0;
    // Writes the standard text of `code` (NUL-terminated, cut to fit); false for a code
    // that has no text or for a buffer of length 0.
    virtual bool errorString(int code, char* buffer, int bufferLength) const = 0;
    // What the disc in the open drive says of itself (CD-Text), empty without a disc or
    // such text. No command string asks this, so it is a call of its own.
    virtual DiscText discText() { return {}; }
    // Why playback stopped by itself on a failure, once (see CdDrive::takePlaybackFailure).
    virtual std::string takePlaybackFailure() { return {}; }
};

}  // namespace velmora
