// Helpers shared by the drawing builtins: colour arguments and the number
// forms written inside SVG attributes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/builtins/CanvasKit.h"

namespace mirelon {

std::u16string ColorArg(TMirelon& M, const TBuiltinArgs& Args, size_t i, std::u16string_view Default) {
  if (i >= Args.size()) return std::u16string(Default);
  return M.CheckColor(M.ValToText(Args[i]));
}

int64_t RoundHalfEven(double v) { return TruncToInt64(std::nearbyint(v)); }

std::u16string DotNumberText(double v) {
  if (v == 0) return u"0";
  if (!std::isfinite(v)) return std::isnan(v) ? u"NAN" : v > 0 ? u"INF" : u"-INF";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));  // d.dddddddddddddde±x
  std::string digits = std::string(1, buf[0]) + std::string(buf + 2, 14);
  int exponent = std::atoi(buf + 17);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string r = v < 0 ? "-" : "";
  if (exponent < -5 || exponent >= 15) {
    r += digits[0];
    if (digits.size() > 1) r.append(".").append(digits, 1);
    r.append("E").append(std::to_string(exponent));
  } else if (exponent < 0) {
    r.append("0.").append(-exponent - 1, '0').append(digits);
  } else {
    if (digits.size() <= static_cast<size_t>(exponent)) digits.append(exponent + 1 - digits.size(), '0');
    r.append(digits, 0, exponent + 1);
    if (digits.size() > static_cast<size_t>(exponent) + 1) r.append(".").append(digits, exponent + 1);
  }
  return U(r);
}

}  // namespace mirelon
