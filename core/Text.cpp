#include "core/Text.h"

#include <unicode/ustring.h>

namespace mirelon {

std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out(s.size(), u'\0');  // never more units than bytes
  int32_t len = 0;
  UErrorCode err = U_ZERO_ERROR;
  u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), &len,
                       s.data(), static_cast<int32_t>(s.size()), 0xFFFD, nullptr, &err);
  out.resize(U_SUCCESS(err) ? len : 0);
  return out;
}

std::string Utf16ToUtf8(std::u16string_view s) {
  std::string out(s.size() * 3, '\0');  // at most three bytes per unit
  int32_t len = 0;
  UErrorCode err = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &len,
                     reinterpret_cast<const UChar*>(s.data()), static_cast<int32_t>(s.size()), 0xFFFD,
                     nullptr, &err);
  out.resize(U_SUCCESS(err) ? len : 0);
  return out;
}

std::string_view StripBom(std::string_view s) {
  if (s.size() >= 3 && s.substr(0, 3) == "\xEF\xBB\xBF") return s.substr(3);
  return s;
}

std::u16string Trim(std::u16string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] <= 32) ++b;
  while (e > b && s[e - 1] <= 32) --e;
  return std::u16string(s.substr(b, e - b));
}

std::u16string AsciiLower(std::u16string_view s) {
  std::u16string r(s);
  for (auto& c : r)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return r;
}

std::u16string AsciiUpper(std::u16string_view s) {
  std::u16string r(s);
  for (auto& c : r)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  return r;
}

bool SameAsciiCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x + 32);
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y + 32);
    if (x != y) return false;
  }
  return true;
}

std::u16string IntToText(int64_t v) {
  std::string s = std::to_string(v);
  return std::u16string(s.begin(), s.end());
}

std::u16string Format(std::u16string_view fmt, std::initializer_list<TFmtArg> args) {
  std::u16string out;
  out.reserve(fmt.size() + 32);
  auto next = args.begin();
  for (size_t i = 0; i < fmt.size(); ++i) {
    char16_t c = fmt[i];
    if (c != u'%' || i + 1 >= fmt.size()) {
      out += c;
      continue;
    }
    char16_t k = fmt[++i];
    if (k == u'%') {
      out += u'%';
    } else if ((k == u's' || k == u'd') && next != args.end()) {
      out += next->IsText ? std::u16string(next->Text) : IntToText(next->Int);
      ++next;
    } else {
      out += u'%';
      out += k;
    }
  }
  return out;
}

}  // namespace mirelon
