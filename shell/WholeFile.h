// Reading a whole file given on the command line.
#pragma once

#include <optional>
#include <string>

namespace mirelon {

// The whole file, or nothing when it cannot be opened or read (a folder
// included); Error then holds the system's reason.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string& error);

}  // namespace mirelon
