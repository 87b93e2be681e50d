#pragma once

#include "platform/cd_drive.h"
#include "platform/mci_service.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace velmora {

// The error codes the interpreter returns, by their platform names.
namespace MciError {
inline constexpr int UnrecognizedKeyword = 259;
inline constexpr int UnrecognizedCommand = 261;
inline constexpr int Hardware = 262;
inline constexpr int InvalidDeviceName = 263;
inline constexpr int DeviceOpen = 265;
inline constexpr int CannotLoadDriver = 266;
inline constexpr int MissingCommandString = 267;
inline constexpr int ParamOverflow = 268;
inline constexpr int BadInteger = 270;
inline constexpr int DriverInternal = 272;
inline constexpr int MissingParameter = 273;
inline constexpr int UnsupportedFunction = 274;
inline constexpr int DeviceNotReady = 276;
inline constexpr int CannotUseAll = 279;
inline constexpr int OutOfRange = 282;
inline constexpr int FlagsNotCompatible = 284;
inline constexpr int DuplicateAlias = 289;
inline constexpr int BadConstant = 290;
inline constexpr int MustUseShareable = 291;
inline constexpr int MissingDeviceName = 292;
inline constexpr int BadTimeFormat = 293;
inline constexpr int NoClosingQuote = 294;
inline constexpr int ExtraCharacters = 305;
}  // namespace MciError

// Our own command-string interpreter for the "cdaudio" device type, standing in for the
// platform's multimedia command service. It owns the open devices (by alias) and keeps
// the time format per device; the drive behind "cdaudio" comes from `openDrive`, called
// on the first open (shared opens reuse it; it is let go when the last device closes).
//
// Choices where the platform leaves room:
// - an unknown parameter gives 259, an unknown verb 261;
// - a position before the first track (the lead-in) is taken as the first track's start;
// - "play" without "to" ends one frame before the end of the last audio track: one frame
//   before the leadout on an ordinary disc, the same point that "status length" reaches;
// - "status mode" answers "paused" while paused and "not ready" for an empty, closed drive;
// - lengths in milliseconds use the same conversion as positions (frames*1000/75 + 1).
// Safe to call from several threads; calls are served one at a time.
class MciInterpreter final : public MciService {
public:
    // Returns the drive, or nullptr when there is no CD drive at all (open then fails
    // with "cannot load driver").
    using DriveOpener = std::function<std::shared_ptr<CdDrive>()>;

    explicit MciInterpreter(DriveOpener openDrive);
    ~MciInterpreter() override;

    int sendString(const std::string& command, char* buffer, int bufferLength) override;
    bool errorString(int code, char* buffer, int bufferLength) const override;
    DiscText discText() override;
    std::string takePlaybackFailure() override;

    // The standard text of an error code; empty for codes without one.
    static std::string errorText(int code);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace velmora
