// The conversions that every statement and builtin uses.
#pragma once

#include <cmath>
#include <string>
#include <string_view>

#include "core/Value.h"

namespace mirelon {

std::u16string ValToText(const TMirelonValue& v);
// Any kind other than number, text and boolean raises
// "Conversion en nombre impossible" at `line`.
double ToNumberSlow(const TMirelonValue& v, int line);
inline double ToNumber(const TMirelonValue& v, int line) { return v.Kind == lvkNumber ? v.Num : ToNumberSlow(v, line); }
bool ToBoolSlow(const TMirelonValue& v);
inline bool ToBool(const TMirelonValue& v) { return v.Kind == lvkBool ? v.Bool : ToBoolSlow(v); }
// Numbers are equal within 1e-12; other kinds by the rules of ValuesEqualSlow.
bool ValuesEqualSlow(const TMirelonValue& a, const TMirelonValue& b);
inline bool ValuesEqual(const TMirelonValue& a, const TMirelonValue& b) {
  if (a.Kind == lvkNumber && b.Kind == lvkNumber) return std::fabs(a.Num - b.Num) <= 1e-12;
  return ValuesEqualSlow(a, b);
}
std::u16string TypeName(TMirelonValueKind kind);

// The number text forms: integers in plain digits, other numbers as written
// (WriteRoundedDecimal) with at most ten decimals and ',' as separator.
std::u16string NumberToText(double v);
// Room for the decimal text of any finite double, with one carry digit.
constexpr size_t kDecimalTextSize = 400;
// Writes the shortest decimal text that reads back as v (so 1234567.9 is
// "1234567.9", not its binary expansion), rounded on those digits to at most
// `decimals` decimals, halves away from zero; trailing zeros are dropped, '.'
// separates, and a text left with only zeros has no sign. Returns its end.
char* WriteRoundedDecimal(char (&buf)[kDecimalTextSize], double v, int decimals);
std::u16string DateToText(double serial);  // dd/mm/yyyy
std::u16string TimeToText(double serial);  // hh:nn:ss

// Number parsers. A decimal number is: optional sign, digits with at most
// one decimal separator `sep`, optional exponent. No range check.
bool ParseDecimal(std::u16string_view s, char16_t sep, double& out);
bool TryParseNumber(std::u16string_view s, double& out);
double ParseLooseNumber(std::u16string_view s);  // never fails; 0 when unreadable
double ParseNumberLiteral(std::u16string_view s);  // raises the literal errors (no line)

// Truncation toward zero to 64 bits, saturating instead of overflowing.
int64_t TruncToInt64(double v);

}  // namespace mirelon
