#include "core/builtins/Builtins.h"

#include <vector>

#include "core/Names.h"

namespace mirelon {

thread_local uint32_t RandomState = 0;

void SeedRandom(uint32_t seed) { RandomState = seed; }

uint32_t NextRandom(uint32_t N) {
  RandomState = RandomState * 134775813u + 1u;
  return static_cast<uint32_t>((static_cast<uint64_t>(RandomState) * N) >> 32);
}

namespace {

void AddGroup(TBuiltinLibrary& library, std::span<const TBuiltinDef> group) {
  for (const TBuiltinDef& def : group) {
    int32_t number = static_cast<int32_t>(library.Functions.size());
    library.Functions.push_back(def.Func);
    std::u16string_view names(def.Names);
    size_t start = 0;
    while (start <= names.size()) {
      size_t bar = names.find(u'/', start);
      if (bar == std::u16string_view::npos) bar = names.size();
      library.Index.emplace(FoldName(names.substr(start, bar - start)), number);
      start = bar + 1;
    }
  }
}

}  // namespace

const TBuiltinLibrary& StandardBuiltins() {
  static const TBuiltinLibrary library = [] {
    TBuiltinLibrary l;
    for (auto group : {NumberBuiltins(), TextBuiltins(), ArrayBuiltins(), DateBuiltins(), CanvasBuiltins(),
                       CompositionBuiltins(), FileBuiltins()})
      AddGroup(l, group);
    return l;
  }();
  return library;
}

}  // namespace mirelon
