#include "server/ProgramEntries.h"

#include <cmath>

#include "core/Errors.h"
#include "server/HttpTypes.h"

namespace mirelon {

namespace {

constexpr int64_t kLargestId = int64_t{1} << 53;

const TJson* Member(const TJson& Object, const char* Name) {
  if (!Object.is_object()) return nullptr;
  auto It = Object.find(Name);
  return It == Object.end() ? nullptr : &*It;
}

std::optional<int64_t> WithinIds(int64_t V) {
  if (V < -kLargestId || V > kLargestId) return std::nullopt;
  return V;
}

}  // namespace

std::string_view TrimmedText(std::string_view S) {
  while (!S.empty() && static_cast<unsigned char>(S.front()) <= 0x20) S.remove_prefix(1);
  while (!S.empty() && static_cast<unsigned char>(S.back()) <= 0x20) S.remove_suffix(1);
  return S;
}

std::optional<std::string> TextMember(const TJson& Object, const char* Name) {
  const TJson* Value = Member(Object, Name);
  if (!Value || !Value->is_string()) return std::nullopt;
  return Value->get<std::string>();
}

std::optional<int64_t> IdMember(const TJson& Object) {
  const TJson* Value = Member(Object, "id");
  if (!Value) return std::nullopt;
  if (Value->is_number_unsigned()) {
    uint64_t V = Value->get<uint64_t>();
    return V <= static_cast<uint64_t>(kLargestId) ? std::optional<int64_t>(static_cast<int64_t>(V)) : std::nullopt;
  }
  if (Value->is_number_integer()) return WithinIds(Value->get<int64_t>());
  if (!Value->is_number_float()) return std::nullopt;
  double V = Value->get<double>();
  if (!std::isfinite(V) || V != std::trunc(V) || std::fabs(V) > static_cast<double>(kLargestId)) return std::nullopt;
  return static_cast<int64_t>(V);
}

std::string EntryCategory(const TJson& Entry) {
  std::optional<std::string> Category = TextMember(Entry, "categorie");
  return Category && !TrimmedText(*Category).empty() ? *Category : "programme";
}

bool TitleTaken(const TJson& Programs, std::string_view Title, std::string_view Category, int64_t ExceptedId) {
  std::string_view WantedCategory = TrimmedText(Category);
  if (WantedCategory.empty()) WantedCategory = "programme";
  std::string_view WantedTitle = TrimmedText(Title);
  for (const TJson& Entry : Programs) {
    if (ExceptedId != 0 && IdMember(Entry).value_or(-1) == ExceptedId) continue;
    std::optional<std::string> EntryTitle = TextMember(Entry, "titre");
    if (EntryTitle && SameAscii(TrimmedText(EntryCategory(Entry)), WantedCategory) &&
        SameAscii(TrimmedText(*EntryTitle), WantedTitle))
      return true;
  }
  return false;
}

int64_t NextProgramId(const TJson& Programs) {
  int64_t Highest = 0;
  for (const TJson& Entry : Programs) Highest = std::max(Highest, IdMember(Entry).value_or(0));
  if (Highest >= kLargestId) throw Exception(u"Plus aucun identifiant libre dans Mirelon.json.");
  return Highest + 1;
}

int64_t IndexOfProgram(const TJson& Programs, int64_t Id) {
  for (size_t I = 0; I < Programs.size(); ++I)
    if (IdMember(Programs[I]) == Id) return static_cast<int64_t>(I);
  return -1;
}

}  // namespace mirelon
