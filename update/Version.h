// The version numbers that the update check compares: the running program's,
// fixed by the build, and the one the maker's service announces.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mirelon {

// Only Major and Minor are ever filled and compared; Patch and Build stay 0.
struct TVersionNumber {
  int32_t Major = 0;
  int32_t Minor = 0;
  int32_t Patch = 0;
  int32_t Build = 0;

  // Splits at every "."; Major and Minor are the first two parts read as
  // decimal integers, 0 for a part that is missing or not a number. Later
  // parts are ignored.
  static TVersionNumber Parse(std::string_view text);
  // "Major.Minor".
  std::u16string ToString() const;
  bool operator==(const TVersionNumber&) const = default;
};

// With equal majors, the candidate is newer when its minor is greater;
// otherwise when its major is greater.
bool IsNewer(const TVersionNumber& candidate, const TVersionNumber& current);

// The running program's version, as the build names it.
TVersionNumber BuildVersion();

}  // namespace mirelon
