#include "registry/delete_subkeys.h"

#include <optional>
#include <vector>

namespace kelvane::registry {

void DeleteSubkeys(platform::RegistryProvider& provider, platform::WindowSystem& windows,
                   std::uint32_t HKEY, const std::string& strKeyPath) {
  std::optional<std::vector<std::string>> arrSubkeys;
  provider.EnumKey(HKEY, strKeyPath, arrSubkeys);
  if (arrSubkeys) {
    for (const auto& name : *arrSubkeys) {
      ShowProgress(windows, "Removing: " + strKeyPath);
      DeleteSubkeys(provider, windows, HKEY, strKeyPath + "\\" + name);
    }
  }
  provider.DeleteKey(HKEY, strKeyPath);
}

}  // namespace kelvane::registry
