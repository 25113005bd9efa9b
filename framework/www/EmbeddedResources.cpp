#include "framework/www/EmbeddedResources.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace orv {
namespace detail {
// Generated beside the byte arrays (EmbeddedTable.cpp in the build tree).
std::span<const EmbeddedResource> generatedEmbeddedResources();
}  // namespace detail

std::span<const EmbeddedResource> embeddedResources() {
  return detail::generatedEmbeddedResources();
}

const EmbeddedResource* findEmbeddedResource(std::string_view name) {
  std::string upper(name);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  const auto table = embeddedResources();
  const auto it = std::lower_bound(table.begin(), table.end(), upper,
                                   [](const EmbeddedResource& r, const std::string& n) {
                                     return r.name < n;
                                   });
  if (it == table.end() || it->name != upper) return nullptr;
  return &*it;
}

}  // namespace orv
