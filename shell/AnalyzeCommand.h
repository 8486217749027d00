// The command "mirelon analyze FILE".
#pragma once

#include <string>

namespace mirelon {

// Reads FILE as UTF-8 and writes the analysis as one JSON line on stdout.
// Returns the exit code: 0 when no error was found, 1 when one was found or
// the text cannot be lexed, 2 when the file cannot be read (message on stderr).
int RunAnalyzeCommand(const std::string& path);

}  // namespace mirelon
