// Reading a whole file, for the files the server keeps (stored programs,
// options): the host's error number tells why a read failed.
#pragma once

#include <filesystem>
#include <string>

namespace mirelon {

// Appends the file's bytes to Out, reading through interruptions; 0 when the
// whole file was read, else the host's error number (errno).
int ReadWholeFile(const std::filesystem::path& File, std::string& Out);

}  // namespace mirelon
