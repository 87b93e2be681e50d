#pragma once

#include "platform/cd_drive.h"
#include "platform/mci_service.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace velmora {

// Our own command-string interpreter for the "cdaudio" device type, standing in for the
// platform's multimedia command service. It owns the open devices (by alias) and keeps
// the time format per device; the drive behind "cdaudio" comes from `openDrive`, called
// on the first open (shared opens reuse it).
class MciInterpreter final : public MciService {
public:
    // Returns the drive, or nullptr when there is no CD drive at all (open then fails
    // with "cannot load driver").
    using DriveOpener = std::function<std::shared_ptr<CdDrive>()>;

    explicit MciInterpreter(DriveOpener openDrive);
    ~MciInterpreter() override;

    int sendString(const std::string& command, char* buffer, int bufferLength) override;
    bool errorString(int code, char* buffer, int bufferLength) const override;

    // The standard text of an error code; empty for codes without one.
    static std::string errorText(int code);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace velmora
