#include "registry/value_references.h"

#include <optional>

#include "platform/shared/skip_if_fails.h"

namespace kelvane::registry {

using platform::SkipIfFails;

void ForEachReferencingKey(platform::RegistryProvider& provider, std::uint32_t root, const std::string& parentPath,
                           const ValueNameRule& rule, const ReferencingKeyVisit& visit) {
  std::optional<std::vector<std::string>> keys;
  SkipIfFails([&] { provider.EnumKey(root, parentPath, keys); });
  if (!keys) return;
  for (const std::string& name : *keys) {
    const std::string keyPath = parentPath + "\\" + name;
    std::optional<std::vector<std::string>> values;
    SkipIfFails([&] { provider.EnumValues(root, keyPath, values); });
    if (!values) continue;
    std::vector<std::string> accepted;
    for (std::string& value : *values) {
      if (rule(value)) accepted.push_back(std::move(value));
    }
    if (!accepted.empty()) visit(keyPath, accepted);
  }
}

std::vector<std::string> DeleteValuesThenEmptyKey(platform::RegistryProvider& provider, std::uint32_t root,
                                                  const std::string& keyPath, const std::vector<std::string>& valueNames) {
  std::vector<std::string> deleted;
  for (const std::string& value : valueNames) {
    SkipIfFails([&] {
      if (provider.DeleteValue(root, keyPath, value) == 0) deleted.push_back(value);
    });
  }
  if (!deleted.empty()) DeleteKeyIfEmpty(provider, root, keyPath);
  return deleted;
}

void DeleteKeyIfEmpty(platform::RegistryProvider& provider, std::uint32_t root, const std::string& keyPath) {
  SkipIfFails([&] {
    std::optional<std::vector<std::string>> values, subkeys;
    if (provider.EnumValues(root, keyPath, values) != 0 || values) return;
    if (provider.EnumKey(root, keyPath, subkeys) != 0 || subkeys) return;
    provider.DeleteKey(root, keyPath);
  });
}

}  // namespace kelvane::registry
