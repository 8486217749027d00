#include <gtest/gtest.h>

#include <random>

#include "core/Conversions.h"
#include "core/Text.h"
#include "core/builtins/ArraySort.h"
#include "core/builtins/Builtins.h"

namespace mirelon {
namespace {

// The reference order: a plain bubble sort over every pass.
void ReferenceSort(std::vector<TMirelonValue>& v, bool descending) {
  auto outOfOrder = [&](const TMirelonValue& a, const TMirelonValue& b) {
    if (a.Kind == lvkNumber && b.Kind == lvkNumber) return descending ? a.Num < b.Num : a.Num > b.Num;
    std::u16string x = ValToText(a), y = ValToText(b);
    return descending ? x < y : x > y;
  };
  for (size_t p = 0; p + 1 < v.size(); ++p)
    for (size_t j = 0; j + 1 < v.size() - p; ++j)
      if (outOfOrder(v[j], v[j + 1])) std::swap(v[j], v[j + 1]);
}

// Random arrays of small numbers and number-like texts, with many ties.
std::vector<TMirelonValue> RandomValues(std::mt19937& rng, int numberShare) {
  std::vector<TMirelonValue> v(rng() % 12);
  for (auto& e : v) {
    int k = static_cast<int>(rng() % 12);
    bool number = static_cast<int>(rng() % 100) < numberShare;
    e = number ? TMirelonValue::Number(k) : TMirelonValue::Text(IntToText(k) + (k % 3 ? u"" : u"a"));
  }
  return v;
}

// Kind and text of every element, to compare orders including ties.
std::string Describe(const std::vector<TMirelonValue>& v) {
  std::string s;
  for (auto& e : v) s += (e.Kind == lvkNumber ? "n" : "t") + Utf16ToUtf8(ValToText(e)) + " ";
  return s;
}

TEST(ArraysSortOrder, MatchesTheBubbleSortForEveryMixture) {
  std::mt19937 rng(42);
  TMirelon M{StandardBuiltins()};
  for (int share : {0, 100, 50}) {
    for (int round = 0; round < 300; ++round) {
      for (bool descending : {false, true}) {
        std::vector<TMirelonValue> values = RandomValues(rng, share), expected = values;
        ReferenceSort(expected, descending);
        IMirelonArray a = TMirelonArray::New();
        for (auto& e : values) a->Add(e);
        SortArray(M, *a, descending);
        ASSERT_EQ(Describe(a->Items()), Describe(expected)) << "from " << Describe(values);
      }
    }
  }
}

}  // namespace
}  // namespace mirelon
