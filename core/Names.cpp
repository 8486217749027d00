#include "core/Names.h"

#include <unicode/ustring.h>

namespace mirelon {

std::u16string FoldName(std::u16string_view name) {
  bool ascii = true;
  for (char16_t c : name)
    if (c >= 0x80) {
      ascii = false;
      break;
    }
  if (ascii) {
    std::u16string r(name);
    for (auto& c : r)
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    return r;
  }
  // Full lower-case mapping may lengthen the text (İ -> i + combining dot).
  std::u16string out(name.size() * 2 + 4, u'\0');
  UErrorCode err = U_ZERO_ERROR;
  int32_t len = u_strToLower(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                             reinterpret_cast<const UChar*>(name.data()), static_cast<int32_t>(name.size()), "",
                             &err);
  if (err == U_BUFFER_OVERFLOW_ERROR) {
    out.assign(len, u'\0');
    err = U_ZERO_ERROR;
    len = u_strToLower(reinterpret_cast<UChar*>(out.data()), len, reinterpret_cast<const UChar*>(name.data()),
                       static_cast<int32_t>(name.size()), "", &err);
  }
  if (U_FAILURE(err)) return std::u16string(name);
  out.resize(len);
  return out;
}


}  // namespace mirelon
