// Opening an address in the user's browser.
#pragma once

#include <functional>
#include <string>

namespace mirelon {

// Opens an address; false when no browser could be started.
using TOpenUrl = std::function<bool(const std::string& Url)>;

// The desktop's default browser, or, when the environment variable
// MIRELON_BROWSER names a program, that program with the address as its one
// argument (the tests record the address that way).
bool OpenInBrowser(const std::string& Url);

}  // namespace mirelon
