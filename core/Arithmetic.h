// The number rules the expression evaluators share: comparisons, powers and
// remainders, and the range every number result must stay in.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/Lexer.h"

namespace mirelon {

inline bool IsComparison(TMirelonTokenType t) { return t >= ttEgal && t <= ttSupEgal; }

template <class T>
bool Compare(TMirelonTokenType op, const T& a, const T& b) {
  switch (op) {
    case ttEgal: return a == b;
    case ttDifferent: return a != b;
    case ttInferieur: return a < b;
    case ttSuperieur: return a > b;
    case ttInfEgal: return a <= b;
    default: return a >= b;
  }
}

// Whole exponents by repeated squaring (exact for integers), others through
// exp and ln; a base of 0 then gives 0.
inline double Power(double base, double exponent) {
  if (exponent == std::trunc(exponent) && std::fabs(exponent) < 9.2e18) {
    uint64_t n = static_cast<uint64_t>(std::fabs(exponent));
    double result = 1, b = base;
    while (n) {
      if (n & 1) result *= b;
      b *= b;
      n >>= 1;
    }
    return exponent < 0 ? 1 / result : result;
  }
  if (base == 0) return 0;
  return std::exp(exponent * std::log(base));
}

// The remainder with the sign of l, for fractions too: l - trunc(l / r) * r.
inline double Modulo(double l, double r) { return l - std::trunc(l / r) * r; }

// How tightly each binary operator binds (0: not a binary operator).
constexpr int kLevelOr = 1, kLevelAnd = 2, kLevelNot = 3, kLevelComparison = 4, kLevelAdditive = 5, kLevelTerm = 6,
              kLevelPower = 8;

}  // namespace mirelon
