// UTF-8 in, UTF-8 out, so that the cases read as the scripts they stand for.
#pragma once

#include <string>
#include <string_view>

#include "core/Text.h"
#include "minify/Minify.h"

namespace mirelon::test {

inline std::string Js(std::string_view source) { return Utf16ToUtf8(MinifyJs(Utf8ToUtf16(source))); }
inline std::string Css(std::string_view source) { return Utf16ToUtf8(MinifyCss(Utf8ToUtf16(source))); }

}  // namespace mirelon::test
