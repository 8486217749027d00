// The stored entries as the projects actions read them. The storage file may
// have been edited by another tool, so every member is read defensively:
// a member of the wrong type counts as missing.
//
//   TextMember(object, "titre")          the string, or none
//   IdMember(object)                     the "id", or none
//   EntryCategory(entry)                 "categorie", or "programme" when blank
//   TitleTaken(programs, t, c, except)   a title already used in a category
//   NextProgramId(programs)              1 + the highest id, at least 1
//   IndexOfProgram(programs, id)         the entry of that id, or -1
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace mirelon {

// Ordered: a rewritten file keeps its members where they were.
using TJson = nlohmann::ordered_json;

// Without the characters from U+0000 to U+0020 at both ends.
std::string_view TrimmedText(std::string_view S);

std::optional<std::string> TextMember(const TJson& Object, const char* Name);

// An integral JSON number of magnitude at most 2^53, the integers that the
// workbench's JavaScript holds exactly.
std::optional<int64_t> IdMember(const TJson& Object);

// As stored (surrounding spaces kept), or "programme" when missing or blank.
std::string EntryCategory(const TJson& Entry);

// Titles and categories compare trimmed and without ASCII case; the entry
// whose id is ExceptedId is skipped unless ExceptedId is 0; an entry
// without a readable id counts as id -1.
bool TitleTaken(const TJson& Programs, std::string_view Title, std::string_view Category, int64_t ExceptedId);

// Raises mirelon::Exception when the highest id leaves no readable id above it.
int64_t NextProgramId(const TJson& Programs);

int64_t IndexOfProgram(const TJson& Programs, int64_t Id);

}  // namespace mirelon
