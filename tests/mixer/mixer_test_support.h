#pragma once

#include <optional>
#include <string>

namespace velmora::testing {

// Runs a shell command and returns its standard output; nullopt when it fails.
std::optional<std::string> commandOutput(const std::string& command);

// The descriptors this process holds open.
int openDescriptorCount();

}  // namespace velmora::testing
