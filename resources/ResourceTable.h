// The table behind FindResource, generated into the build folder from the
// list of assets in resources/CMakeLists.txt.
#pragma once

#include <span>
#include <string_view>

namespace mirelon::resources {

struct TResourceEntry {
  std::string_view Name;
  const std::string_view* Bytes;  // defined in the resource's own generated source
};

// Every embedded resource, in the order of the list.
std::span<const TResourceEntry> ResourceTable();

}  // namespace mirelon::resources
