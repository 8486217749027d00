// The workbench files compiled into the program (assets/), looked up by
// resource name. The bytes live as long as the program.
#pragma once

#include <optional>
#include <string_view>

namespace mirelon {

// The stored bytes of the resource NAME ("APP_JS"; exact case), or nothing
// when the program has no such resource.
std::optional<std::string_view> FindResource(std::string_view name);

}  // namespace mirelon
