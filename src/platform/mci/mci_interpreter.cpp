// Placeholder: the interpreter is being written.
#include "platform/mci/mci_interpreter.h"
namespace velmora {
struct MciInterpreter::Impl {};
MciInterpreter::MciInterpreter(DriveOpener) : impl_(std::make_unique<Impl>()) {}
MciInterpreter::~MciInterpreter() = default;
int MciInterpreter::sendString(const std::string&, char* buffer, int bufferLength) {
    if (buffer && bufferLength > 0) buffer[0] = 0;
    return 261;
}
bool MciInterpreter::errorString(int, char*, int) const { return false; }
std::string MciInterpreter::errorText(int) { return {}; }
}  // namespace velmora
