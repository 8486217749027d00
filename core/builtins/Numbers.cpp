// Builtins on numbers: arithmetic, rounding, trigonometry and random draws.
// The type tests and conversions of the same group live in ConversionBuiltins.cpp.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "core/Conversions.h"
#include "core/builtins/Builtins.h"
#include "core/builtins/ConversionBuiltins.h"

namespace mirelon {

namespace {

// Host arithmetic failures: not language errors, so "essayer" lets them through.
[[noreturn]] void InvalidFloatOperation() { throw EHostError(u"Opération en virgule flottante incorrecte"); }
[[noreturn]] void FloatDivisionByZero() { throw EHostError(u"Division par zéro en virgule flottante"); }

int32_t KeepTo32Bits(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }

// The single argument of a one-argument builtin, as a number.
double OneNumber(TMirelon& M, TBuiltinArgs& Args, const char16_t* countMessage) {
  RequireCount(M, Args, 1, countMessage);
  return M.ToNumber(Args[0]);
}

void Racine(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  double x = OneNumber(M, Args, u"racine(x) attend 1 argument");
  if (x < 0) InvalidFloatOperation();
  Result = TMirelonValue::Number(std::sqrt(x));
}

void Absolue(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  Result = TMirelonValue::Number(std::fabs(OneNumber(M, Args, u"absolue(x) attend 1 argument")));
}

// Halves go to the even neighbour (the default rounding mode).
void Arrondi(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  Result = TMirelonValue::Number(std::nearbyint(OneNumber(M, Args, u"arrondi(x) attend 1 argument")));
}

// x rounded to n decimals, halves away from zero, on the digits of its
// shortest decimal text (so 2.5 gives 3 and 2.675 gives 2.68, as written).
double RoundDecimals(double x, int n) {
  if (!std::isfinite(x) || std::fabs(x) >= 4503599627370496.0) return x;  // 2^52: already integral
  char buf[kDecimalTextSize];
  char* end = WriteRoundedDecimal(buf, x, n);
  double r = 0;
  std::from_chars(buf, end, r);  // independent of the C locale
  return r;
}

void Decimal(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  RequireCount(M, Args, 2, u"decimal(x, n) attend 2 arguments");
  double x = M.ToNumber(Args[0]);
  int64_t n = M.ToInteger(Args[1]);
  if (n < 0) M.Fail(u"decimal(x, n) : n doit être >= 0");
  if (n > 15) M.Fail(u"decimal(x, n) : n trop grand (max 15)");
  Result = TMirelonValue::Number(RoundDecimals(x, static_cast<int>(n)));
}

void Hasard(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  if (Args.size() == 1) {
    int64_t n = std::max(KeepTo32Bits(M.ToInteger(Args[0])), 0);
    Result = TMirelonValue::Number(NextRandom(static_cast<uint32_t>(n + 1)));
  } else if (Args.size() == 2) {
    int64_t a = KeepTo32Bits(M.ToInteger(Args[0]));
    int64_t b = KeepTo32Bits(M.ToInteger(Args[1]));
    if (a > b) std::swap(a, b);
    Result = TMirelonValue::Number(static_cast<double>(a + NextRandom(static_cast<uint32_t>(b - a + 1))));
  } else {
    M.Fail(u"hasard(n) ou hasard(min,max)");
  }
}

void Minimum(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  RequireCount(M, Args, 2, u"minimum(a,b) attend 2 arguments");
  double a = M.ToNumber(Args[0]), b = M.ToNumber(Args[1]);
  Result = TMirelonValue::Number(b < a ? b : a);
}

void Maximum(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  RequireCount(M, Args, 2, u"maximum(a,b) attend 2 arguments");
  double a = M.ToNumber(Args[0]), b = M.ToNumber(Args[1]);
  Result = TMirelonValue::Number(b > a ? b : a);
}

// Integral exponents by repeated squaring in extended precision; others
// through the logarithm, which the host refuses for a negative base.
double Power(double a, double b) {
  if (b == std::trunc(b) && std::fabs(b) <= 2147483647.0) {
    uint32_t e = static_cast<uint32_t>(std::fabs(b));
    long double base = a, r = 1;
    for (; e != 0; e >>= 1, base *= base)
      if (e & 1) r *= base;
    if (b >= 0) return static_cast<double>(r);
    if (a == 0) FloatDivisionByZero();
    return static_cast<double>(1 / r);
  }
  if (a == 0) return 0;
  if (a < 0) InvalidFloatOperation();
  return static_cast<double>(std::exp2l(b * std::log2l(a)));
}

void Puissance(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  RequireCount(M, Args, 2, u"puissance(a, b) attend 2 arguments");
  double a = M.ToNumber(Args[0]), b = M.ToNumber(Args[1]);
  Result = TMirelonValue::Number(Power(a, b));
}

void Limiter(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  RequireCount(M, Args, 3, u"limiter(x, min, max) attend 3 arguments");
  double x = M.ToNumber(Args[0]), lo = M.ToNumber(Args[1]), hi = M.ToNumber(Args[2]);
  if (hi < lo) std::swap(lo, hi);
  Result = TMirelonValue::Number(x < lo ? lo : x > hi ? hi : x);
}

void Sinus(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  Result = TMirelonValue::Number(std::sin(OneNumber(M, Args, u"sinus(x) attend 1 argument")));
}

void Cosinus(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  Result = TMirelonValue::Number(std::cos(OneNumber(M, Args, u"cosinus(x) attend 1 argument")));
}

void Tangente(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  double x = OneNumber(M, Args, u"tangente(x) attend 1 argument");
  double c = std::cos(x);
  if (std::fabs(c) < 1e-12) M.Fail(u"tangente(x) : valeur indéfinie (cos = 0)");
  Result = TMirelonValue::Number(std::sin(x) / c);
}

void Pi(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  RequireCount(M, Args, 0, u"pi ne prend aucun argument");
  Result = TMirelonValue::Number(3.141592653589793);
}

void Logarithme(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  double x = OneNumber(M, Args, u"logarithme(x) attend 1 argument");
  if (x <= 0) M.Fail(u"logarithme(x) : x doit être strictement positif");
  Result = TMirelonValue::Number(std::log(x));
}

void Pair(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  RequireCount(M, Args, 1, u"pair(n) attend 1 argument");
  Result = TMirelonValue::BoolVal(M.ToInteger(Args[0]) % 2 == 0);
}

void Impair(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  RequireCount(M, Args, 1, u"impair(n) attend 1 argument");
  Result = TMirelonValue::BoolVal(M.ToInteger(Args[0]) % 2 != 0);
}

void Pourcentage(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  if (Args.size() != 2) FailNoLine(u"pourcentage(valeur, total) attend 2 arguments");
  double value = M.ToNumber(Args[0]), total = M.ToNumber(Args[1]);
  if (total == 0) M.Fail(u"pourcentage : le total ne peut pas être zéro");
  Result = TMirelonValue::Number(value / total * 100);
}

void ArrondiSuperieur(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  Result = TMirelonValue::Number(std::ceil(OneNumber(M, Args, u"arrondi_supérieur(x) attend 1 argument")));
}

void ArrondiInferieur(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  Result = TMirelonValue::Number(std::floor(OneNumber(M, Args, u"arrondi_inférieur(x) attend 1 argument")));
}

void Signe(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  double x = OneNumber(M, Args, u"signe(x) attend 1 argument");
  Result = TMirelonValue::Number(x > 0 ? 1 : x < 0 ? -1 : 0);
}

void Factorielle(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  double x = OneNumber(M, Args, u"factorielle(n) attend 1 argument");
  if (x != std::trunc(x)) M.Fail(u"factorielle : n doit être un entier");
  int64_t n = TruncToInt64(x);
  if (n < 0) M.Fail(u"factorielle : n doit être >= 0");
  if (n > 170) M.Fail(u"factorielle : n trop grand (max 170)");
  long double r = 1;
  for (int64_t k = 2; k <= n; ++k) r *= k;
  Result = TMirelonValue::Number(static_cast<double>(r));
}

void Pgcd(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  RequireCount(M, Args, 2, u"pgcd(a, b) attend 2 arguments");
  double a = M.ToNumber(Args[0]), b = M.ToNumber(Args[1]);
  if (a != std::trunc(a) || b != std::trunc(b)) M.Fail(u"pgcd : les deux arguments doivent être des entiers");
  uint64_t x = static_cast<uint64_t>(TruncToInt64(std::fabs(a)));
  uint64_t y = static_cast<uint64_t>(TruncToInt64(std::fabs(b)));
  while (y != 0) x = std::exchange(y, x % y);
  Result = TMirelonValue::Number(static_cast<double>(x));
}

// x + sign × n, n being 1 when absent.
void Step(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result, double sign, const char16_t* countMessage) {
  if (Args.size() != 1 && Args.size() != 2) M.Fail(countMessage);
  double x = M.ToNumber(Args[0]);
  double n = Args.size() == 2 ? M.ToNumber(Args[1]) : 1;
  Result = TMirelonValue::Number(x + sign * n);
}

void Increment(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  Step(M, Args, Result, 1, u"incrément(x[, n]) attend 1 ou 2 arguments");
}

void Decrement(TMirelon& M, TBuiltinArgs& Args, TMirelonValue& Result) {
  Step(M, Args, Result, -1, u"décrément(x[, n]) attend 1 ou 2 arguments");
}

}  // namespace

std::span<const TBuiltinDef> NumberBuiltins() {
  static const TBuiltinDef defs[] = {
    {u"racine", Racine},
    {u"absolue", Absolue},
    {u"arrondi", Arrondi},
    {u"decimal/décimal", Decimal},
    {u"hasard", Hasard},
    {u"minimum", Minimum},
    {u"maximum", Maximum},
    {u"puissance", Puissance},
    {u"limiter", Limiter},
    {u"sinus", Sinus},
    {u"cosinus", Cosinus},
    {u"tangente", Tangente},
    {u"pi", Pi},
    {u"logarithme", Logarithme},
    {u"pair", Pair},
    {u"impair", Impair},
    {u"pourcentage", Pourcentage},
    {u"arrondi_superieur/arrondi_supérieur", ArrondiSuperieur},
    {u"arrondi_inférieur/arrondi_inferieur", ArrondiInferieur},
    {u"signe", Signe},
    {u"factorielle", Factorielle},
    {u"pgcd", Pgcd},
    {u"increment/incrément", Increment},
    {u"decrement/décrement", Decrement},
    {u"vers_hexadecimal/vers_hexadécimal", VersHexadecimal},
    {u"vers_decimal/vers_décimal", VersDecimal},
    {u"est_nombre", EstNombre},
    {u"est_texte", EstTexte},
    {u"est_booleen/est_booléen", EstBooleen},
    {u"type_de", TypeDe},
    {u"convertir_texte", ConvertirTexte},
    {u"convertir_nombre", ConvertirNombre},
    {u"vers_type", VersType},
    {u"defaut/défaut", Defaut},
    {u"sialors", SiAlors},
    {u"uid", Uid},
  };
  return defs;
}

}  // namespace mirelon
