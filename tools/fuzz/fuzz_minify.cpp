// Minifies any bytes as a script and as a style sheet: neither minifier may
// fail or write more than it read; the byte wrappers may only refuse bad
// UTF-8, with their own error. The same bytes read as UTF-16 units reach the
// text functions with lone surrogates too.
#include <cstdlib>
#include <cstring>
#include <string>

#include "minify/Minify.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (auto minify : {&mirelon::MinifyJsResource, &mirelon::MinifyCssResource}) {
    try {
      if (minify(bytes).size() > size) std::abort();
    } catch (const mirelon::EMinifyError&) {
    }
  }
  std::u16string units(size / 2, u'\0');
  std::memcpy(units.data(), data, units.size() * 2);
  if (mirelon::MinifyJs(units).size() > units.size() || mirelon::MinifyCss(units).size() > units.size()) std::abort();
  return 0;
}
