#include "update/Version.h"

#include <charconv>

#include "core/Text.h"

namespace mirelon {

namespace {

// The whole part as a decimal integer with an optional sign; 0 otherwise
// (empty, other characters, or outside 32 bits).
int32_t PartValue(std::string_view part) {
  if (!part.empty() && part.front() == '+') part.remove_prefix(1);
  int32_t value = 0;
  auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
  return error == std::errc() && end == part.data() + part.size() ? value : 0;
}

}  // namespace

TVersionNumber TVersionNumber::Parse(std::string_view text) {
  TVersionNumber v;
  size_t dot = text.find('.');
  v.Major = PartValue(text.substr(0, dot));
  if (dot != std::string_view::npos) {
    std::string_view rest = text.substr(dot + 1);
    v.Minor = PartValue(rest.substr(0, rest.find('.')));
  }
  return v;
}

std::u16string TVersionNumber::ToString() const { return Format(u"%d.%d", {Major, Minor}); }

bool IsNewer(const TVersionNumber& candidate, const TVersionNumber& current) {
  if (candidate.Major == current.Major) return candidate.Minor > current.Minor;
  return candidate.Major > current.Major;
}

TVersionNumber BuildVersion() { return TVersionNumber::Parse(MIRELON_VERSION); }

}  // namespace mirelon
