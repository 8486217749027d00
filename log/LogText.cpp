#include "log/LogText.h"

#include <cstdio>

namespace mirelon {
namespace {

void AppendEscape(std::string& Out, char32_t C) {
  char Buffer[8];
  std::snprintf(Buffer, sizeof Buffer, "\\u%04X", static_cast<unsigned>(C));
  Out += Buffer;
}

// Length of the valid UTF-8 sequence at Text[I] and its code point; 0 when invalid.
size_t DecodeOne(std::string_view Text, size_t I, char32_t& C) {
  const auto B = [&](size_t K) { return static_cast<unsigned char>(Text[I + K]); };
  const unsigned char Lead = B(0);
  size_t Length = Lead < 0x80 ? 1 : (Lead >> 5) == 6 ? 2 : (Lead >> 4) == 14 ? 3 : (Lead >> 3) == 30 ? 4 : 0;
  if (Length == 0 || I + Length > Text.size()) return 0;
  C = Length == 1 ? Lead : Lead & (0x7F >> Length);
  for (size_t K = 1; K < Length; ++K) {
    if ((B(K) & 0xC0) != 0x80) return 0;
    C = (C << 6) | (B(K) & 0x3F);
  }
  static constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (C < Smallest[Length] || C > 0x10FFFF || (C >= 0xD800 && C <= 0xDFFF)) return 0;
  return Length;
}

}  // namespace

std::string LogText(std::string_view Utf8) {
  std::string Out;
  Out.reserve(Utf8.size());
  for (size_t I = 0; I < Utf8.size();) {
    char32_t C = 0;
    const size_t Length = DecodeOne(Utf8, I, C);
    if (Length == 0) {
      AppendEscape(Out, 0xFFFD);
      ++I;
      continue;
    }
    if (C == '\n') Out += "\\n";
    else if (C == '\r') Out += "\\r";
    else if (C == '\t') Out += "\\t";
    else if (C < 0x20 || C == 0x7F || C == 0x2028 || C == 0x2029) AppendEscape(Out, C);
    else Out.append(Utf8.substr(I, Length));
    I += Length;
  }
  return Out;
}

}  // namespace mirelon
