#include "core/builtins/Builtins.h"

#include <vector>

#include "core/Names.h"

namespace mirelon {

uint32_t RandomState = 0;

void SeedRandom(uint32_t seed) { RandomState = seed; }

uint32_t NextRandom(uint32_t N) {
  RandomState = RandomState * 134775813u + 1u;
  return static_cast<uint32_t>((static_cast<uint64_t>(RandomState) * N) >> 32);
}

namespace {

struct TBuiltinTable {
  std::unordered_map<std::u16string, int32_t> Index;
  std::vector<TBuiltinFunc> Functions;

  void AddGroup(std::span<const TBuiltinDef> group) {
    for (const TBuiltinDef& def : group) {
      int32_t number = static_cast<int32_t>(Functions.size());
      Functions.push_back(def.Func);
      std::u16string_view names(def.Names);
      size_t start = 0;
      while (start <= names.size()) {
        size_t bar = names.find(u'/', start);
        if (bar == std::u16string_view::npos) bar = names.size();
        Index.emplace(FoldName(names.substr(start, bar - start)), number);
        start = bar + 1;
      }
    }
  }
};

const TBuiltinTable& Table() {
  static const TBuiltinTable table = [] {
    TBuiltinTable t;
    for (auto group : {NumberBuiltins(), TextBuiltins(), ArrayBuiltins(), DateBuiltins(), CanvasBuiltins(),
                       CompositionBuiltins(), FileBuiltins()})
      t.AddGroup(group);
    return t;
  }();
  return table;
}

}  // namespace

const std::unordered_map<std::u16string, int32_t>& BuiltinIndex() { return Table().Index; }
TBuiltinFunc BuiltinFunction(int32_t number) { return Table().Functions[number]; }
int32_t BuiltinCount() { return static_cast<int32_t>(Table().Functions.size()); }

bool TMirelon::TryBuiltin(int32_t Number, TBuiltinArgs& Args, TMirelonValue& Result) {
  if (Number < 0) return false;
  BuiltinFunction(Number)(*this, Args, Result);
  return true;
}

}  // namespace mirelon
