// Replacing a file so that it holds either its old bytes or its new ones,
// never a mix, even when the process dies or the disk fills up half-way:
// the new bytes go to a temporary file beside the target, are flushed to
// disk, and the temporary file is renamed over the target.
//
//   WriteFileAtomically(path, bytes)  replaces (or creates) the file
//   WriteNewFile(path, bytes)         creates a file that must not exist yet
//
// Both raise mirelon::Exception with a French message naming the file on
// failure; the old file is then left untouched and no temporary file stays
// behind.
#pragma once

#include <filesystem>
#include <string_view>

namespace mirelon {

// A target that is a symbolic link is written through the link (the link
// stays); a target that exists keeps its permissions, and one that may not
// be written is refused as a plain write would be.
void WriteFileAtomically(const std::filesystem::path& Target, std::string_view Bytes);

// Creates Target with Bytes, flushed to disk. False, and nothing written,
// when something already exists at Target; a failure half-way removes the
// partial file.
bool WriteNewFile(const std::filesystem::path& Target, std::string_view Bytes);

}  // namespace mirelon
