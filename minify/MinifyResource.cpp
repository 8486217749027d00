// The byte-level wrappers: the resources are UTF-8 files, perhaps with a
// byte-order mark. Bad UTF-8 raises instead of being replaced, so that the
// server sends such a file as it is rather than a minified copy with
// replacement characters in it.
#include <cstdint>

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include "Minify.h"

namespace mirelon {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Strict UTF-8 to UTF-16: overlong forms, surrogates, code points above
// U+10FFFF and cut sequences are refused with the offset of their first byte
// in Bytes.
std::u16string DecodeUtf8(std::string_view bytes, size_t start) {
  std::u16string text(bytes.size() - start, u'\0');  // never more units than bytes
  char16_t* out = text.data();
  const auto* s = reinterpret_cast<const uint8_t*>(bytes.data());
  const auto length = static_cast<int64_t>(bytes.size());
  int64_t i = static_cast<int64_t>(start);
  while (i < length) {
    if (s[i] < 0x80) {
      *out++ = s[i++];
      continue;
    }
    const int64_t at = i;
    UChar32 c;
    U8_NEXT(s, i, length, c);
    if (c < 0) throw EMinifyError(Format(u"UTF-8 invalide à l'octet %d", {static_cast<long long>(at)}));
    if (c < 0x10000) {
      *out++ = static_cast<char16_t>(c);
    } else {
      *out++ = U16_LEAD(c);
      *out++ = U16_TRAIL(c);
    }
  }
  text.resize(out - text.data());
  return text;
}

std::string MinifyResource(std::string_view bytes, std::u16string (*minify)(std::u16string_view)) {
  const size_t start = bytes.substr(0, kBom.size()) == kBom ? kBom.size() : 0;
  return Utf16ToUtf8(minify(DecodeUtf8(bytes, start)));
}

}  // namespace

std::string MinifyJsResource(std::string_view bytes) { return MinifyResource(bytes, MinifyJs); }
std::string MinifyCssResource(std::string_view bytes) { return MinifyResource(bytes, MinifyCss); }

}  // namespace mirelon
