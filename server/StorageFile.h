// The storage file on disk, Mirelon.json: a UTF-8 byte-order mark and one
// compact ASCII JSON object {"programmes":[...]}.
//
//   ReadStorageFile(file)        the programs, and whether the file was usable
//   StorageBytes(programs)       the file's exact bytes
//   KeepUnusableCopy(file, s)    sets aside a file that a change would replace
//
// A file that exists but cannot be used (it cannot be read, is not JSON, or
// has no "programmes" array) reads as no programs, like a missing one; a
// change then replaces it only after a copy of its bytes is kept.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "server/ProgramEntries.h"

namespace mirelon {

struct TStoredPrograms {
  TJson Programs = TJson::array();  // the "programmes" array, or empty
  bool Unusable = false;            // the file holds something else than stored programs
  std::optional<std::string> Bytes;  // an unusable file's bytes, when they could be read
  std::string ReadError;            // why reading failed (UTF-8); empty otherwise
};

// A missing file, and one that holds only blanks after its byte-order mark,
// read as no programs and are usable.
TStoredPrograms ReadStorageFile(const std::filesystem::path& File);

std::string StorageBytes(const TJson& Programs);

// Writes Bytes to "<file>.illisible", or "<file>.illisible.2", ".3" ... when
// that name is taken; a copy that already holds these bytes is kept as it is
// and reused. The copy's path; raises mirelon::Exception when no copy could
// be made (Bytes unknown included), and then nothing was changed.
std::filesystem::path KeepUnusableCopy(const std::filesystem::path& File, const std::optional<std::string>& Bytes);

}  // namespace mirelon
