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

void TOutput::WritePair(char32_t c) {
  if (FLength + 2 > FText.size()) FText.resize(FText.size() * 2 + 2);
  if (c < 0x10000) {
    FText[FLength++] = static_cast<char16_t>(c);
  } else {
    FText[FLength++] = static_cast<char16_t>(0xD7C0 + (c >> 10));
    FText[FLength++] = static_cast<char16_t>(0xDC00 | (c & 0x3FF));
  }
}

bool IsNonAsciiLetterOrDigit(char32_t c) {
  return (U_GET_GC_MASK(static_cast<UChar32>(c)) & (U_GC_L_MASK | U_GC_ND_MASK)) != 0;
}

bool IsNonAsciiWhitespace(char32_t c) {
  return c == 0x85 || c == 0xA0 || (U_GET_GC_MASK(static_cast<UChar32>(c)) & U_GC_Z_MASK) != 0;
}

}  // namespace mirelon::minify
