#include "core/builtins/ArraySort.h"

#include <algorithm>
#include <vector>


namespace mirelon {

namespace {

struct TEntry {
  bool IsNumber;
  double Num;
  std::u16string Text;  // filled only when the array mixes numbers with other kinds
  TMirelonValue Value;
};

bool Ascending(const TEntry& a, const TEntry& b) {
  if (a.IsNumber && b.IsNumber) return a.Num < b.Num;
  return a.Text < b.Text;
}

// Mixing numbers with texts makes the order non-transitive (9 < 10, 10 < "9"
// as texts, "9" equal to 9), so no comparison sort may be used: the result
// is the one of a bubble sort, which never moves equal neighbours. A pass
// without exchange ends it early, since later passes compare the same pairs.
template <class Less>
void BubbleSort(TMirelon& M, std::vector<TEntry>& e, Less less) {
  for (size_t pass = 0; pass + 1 < e.size(); ++pass) {
    bool exchanged = false;
    for (size_t j = 0; j + 1 < e.size() - pass; ++j) {
      M.CheckAbort();
      if (less(e[j + 1], e[j])) {
        std::swap(e[j], e[j + 1]);
        exchanged = true;
      }
    }
    if (!exchanged) break;
  }
}

// Numbers up to this many sort within a few milliseconds: their comparisons
// need no abort check.
constexpr size_t kUncheckedNumbers = 65536;

}  // namespace

void SortArray(TMirelon& M, TMirelonArray& a, bool descending) {
  std::vector<TMirelonValue>& items = a.Items();
  if (items.size() < 2) return;
  size_t numbers = std::count_if(items.begin(), items.end(), [](auto& v) { return v.Kind == lvkNumber; });
  bool mixed = numbers != 0 && numbers != items.size();
  // Every text form is taken before any element moves: an element may show
  // the array itself, and a failure must leave the array as it was.
  std::vector<TEntry> entries;
  entries.reserve(items.size());
  for (const TMirelonValue& v : items) {
    M.CheckAbort();
    bool isNumber = v.Kind == lvkNumber;
    entries.push_back({isNumber, v.Num, isNumber && !mixed ? std::u16string() : ValToText(v), {}});
  }
  for (size_t i = 0; i < items.size(); ++i) entries[i].Value = std::move(items[i]);
  auto less = [descending](const TEntry& x, const TEntry& y) { return descending ? Ascending(y, x) : Ascending(x, y); };
  if (mixed) BubbleSort(M, entries, less);
  else if (numbers == items.size() && items.size() <= kUncheckedNumbers) std::stable_sort(entries.begin(), entries.end(), less);
  else std::stable_sort(entries.begin(), entries.end(), [&M, less](const TEntry& x, const TEntry& y) {
    M.CheckAbort();
    return less(x, y);
  });
  for (size_t i = 0; i < items.size(); ++i) items[i] = std::move(entries[i].Value);
}

}  // namespace mirelon
