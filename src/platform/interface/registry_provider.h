#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvane::platform {

// Registry roots as the provider takes them: 32-bit handle values.
inline constexpr std::uint32_t kClassesRoot = 0x80000000u;
inline constexpr std::uint32_t kCurrentUser = 0x80000001u;
inline constexpr std::uint32_t kLocalMachine = 0x80000002u;

// The WMI registry provider StdRegProv. Both methods return the provider's
// status, which no caller reads.
class RegistryProvider {
 public:
  virtual ~RegistryProvider() = default;
  // Fills sNames with the key's immediate subkey names; leaves it without an
  // array when the key has no subkeys or does not exist.
  virtual long EnumKey(std::uint32_t hDefKey, const std::string& sSubKeyName,
                       std::optional<std::vector<std::string>>& sNames) = 0;
  virtual long DeleteKey(std::uint32_t hDefKey, const std::string& sSubKeyName) = 0;
};

}  // namespace kelvane::platform
