// Outside text (a request path, a title, a prompt, an error message) put
// into a log line: control characters are escaped so that one event stays
// one line and nobody can print a line of their own into the log.
#pragma once

#include <string>
#include <string_view>

namespace mirelon {

// UTF-8 in, UTF-8 out: "\n", "\r", "\t" as those two characters, every other
// character below U+0020 and U+007F as \uXXXX (upper-case hexadecimal), as
// are U+2028 and U+2029; invalid UTF-8 bytes as \uFFFD. The rest is kept.
std::string LogText(std::string_view Utf8);

}  // namespace mirelon
