#include "Scanner.h"

#include <unicode/uchar.h>

namespace mirelon::minify {

char32_t TTextWalk::Peek(int ahead) const {
  size_t pos = FPos + FCurrentLength;
  char32_t c = kNone;
  for (int i = 0; i < ahead; ++i) {
    const size_t length = Decode(FText, pos, c);
    if (length == 0) return kNone;
    pos += length;
  }
  return c;
}

bool IsNonAsciiLetterOrDigit(char32_t c) {
  return (U_GET_GC_MASK(static_cast<UChar32>(c)) & (U_GC_L_MASK | U_GC_ND_MASK)) != 0;
}

bool IsNonAsciiWhitespace(char32_t c) {
  return c == 0x85 || c == 0xA0 || (U_GET_GC_MASK(static_cast<UChar32>(c)) & U_GC_Z_MASK) != 0;
}

}  // namespace mirelon::minify
