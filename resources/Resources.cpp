#include "resources/Resources.h"

#include "resources/ResourceTable.h"

namespace mirelon {

std::optional<std::string_view> FindResource(std::string_view name) {
  for (const resources::TResourceEntry& entry : resources::ResourceTable())
    if (entry.Name == name) return *entry.Bytes;
  return std::nullopt;
}

}  // namespace mirelon
