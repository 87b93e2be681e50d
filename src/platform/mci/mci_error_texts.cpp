#include "platform/mci/mci_interpreter.h"

#include <algorithm>
#include <cstring>

namespace velmora {

namespace {

struct ErrorText {
    int code;
    const char* text;
};

// The platform's standard English texts, word for word: callers show them to the user.
constexpr ErrorText kErrorTexts[] = {
    {257, "Invalid MCI device ID. Use the ID returned when opening the MCI device."},
    {259, "The driver cannot recognize the specified command parameter."},
    {261, "The driver cannot recognize the specified command."},
    {262,
     "There is a problem with your media device. Make sure it is working correctly or "
     "contact the device manufacturer."},
    {263, "The specified device is not open or is not recognized by MCI."},
    {264,
     "Not enough memory available for this task. Quit one or more applications to increase "
     "available memory, and then try again."},
    {265,
     "The device name is already being used as an alias by this application. Use a unique "
     "alias."},
    {266, "There is an undetectable problem in loading the specified device driver."},
    {267, "No command was specified."},
    {268,
     "The output string was too large to fit in the return buffer. Increase the size of the "
     "buffer."},
    {270, "The specified integer is invalid for this command."},
    {272,
     "There is a problem with the device driver. Check with the device manufacturer about "
     "obtaining a new driver."},
    {273, "The specified command requires a parameter. Please supply one."},
    {274, "The MCI device you are using does not support the specified command."},
    {276, "The device driver is not ready."},
    {279, "Cannot use 'all' as the device name with the specified command."},
    {282, "The specified parameter is out of range for the specified command."},
    {284, "The specified parameters cannot be used together."},
    {289, "The specified alias is already being used in this application. Use a unique alias."},
    {290, "The specified parameter is invalid for this command."},
    {291,
     "The device driver is already in use. To share it, use the 'shareable' parameter with "
     "each 'open' command."},
    {292,
     "The specified command requires an alias, file, driver, or device name. Please supply "
     "one."},
    {293,
     "The specified value for the time format is invalid. Refer to the MCI documentation for "
     "valid formats."},
    {294,
     "A closing double-quotation mark is missing from the parameter value. Please supply "
     "one."},
    {302,
     "Cannot carry out the commands in the order specified. Correct the command sequence, "
     "and then try again."},
    {305, "Cannot specify extra characters after a string enclosed in quotation marks."},
};

const char* findText(int code) {
    for (const auto& entry : kErrorTexts)
        if (entry.code == code) return entry.text;
    return nullptr;
}

}  // namespace

std::string MciInterpreter::errorText(int code) {
    const char* text = findText(code);
    return text ? std::string(text) : std::string();
}

bool MciInterpreter::errorString(int code, char* buffer, int bufferLength) const {
    if (!buffer || bufferLength <= 0) return false;
    buffer[0] = '\0';
    if (code < 256 || code > 512) return false;
    const char* text = findText(code);
    if (!text) return false;
    const std::size_t n = std::min(std::strlen(text), static_cast<std::size_t>(bufferLength - 1));
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
    return true;
}

}  // namespace velmora
