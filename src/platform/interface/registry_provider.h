#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane::platform {

// Registry roots as the provider takes them: 32-bit handle values.
inline constexpr std::uint32_t kClassesRoot = 0x80000000u;
inline constexpr std::uint32_t kCurrentUser = 0x80000001u;
inline constexpr std::uint32_t kLocalMachine = 0x80000002u;

// Which view of the registry a provider sees on 64-bit Windows: the
// program's own (a 32-bit program sees the 32-bit view, Wow6432Node), or the
// machine's native one, where the Windows Installer keeps its records
// (HKLM\SOFTWARE\Classes\Installer and ...\Installer\UserData) whatever the
// caller's bitness; or the 32-bit view (HKLM\SOFTWARE\Wow6432Node), which a
// 64-bit program reaches only by asking for it. On 32-bit Windows all are one.
enum class RegistryView { Program, Native, Bits32 };

// The root's name as key names spell it: "HKEY_CLASSES_ROOT" and the like;
// empty for a handle that is none of the three. Every machine names its
// roots by this.
constexpr std::string_view RootName(std::uint32_t root) {
  switch (root) {
    case kClassesRoot: return "HKEY_CLASSES_ROOT";
    case kCurrentUser: return "HKEY_CURRENT_USER";
    case kLocalMachine: return "HKEY_LOCAL_MACHINE";
  }
  return {};
}

// The WMI registry provider StdRegProv. Every method returns the provider's
// status: 0 done, 2 no such key or value, 5 access denied, another number
// for another failure.
class RegistryProvider {
 public:
  virtual ~RegistryProvider() = default;
  // Fills sNames with the key's immediate subkey names; leaves it without an
  // array when the key has no subkeys or does not exist.
  virtual long EnumKey(std::uint32_t hDefKey, const std::string& sSubKeyName,
                       std::optional<std::vector<std::string>>& sNames) = 0;
  virtual long DeleteKey(std::uint32_t hDefKey, const std::string& sSubKeyName) = 0;

  // Fills sNames with the names of the key's values (the default value, when
  // it is set, as ""); leaves it without an array when the key has no
  // values or does not exist.
  virtual long EnumValues(std::uint32_t hDefKey, const std::string& sSubKeyName,
                          std::optional<std::vector<std::string>>& sNames) = 0;
  // A REG_SZ or REG_EXPAND_SZ value (unexpanded). Leaves sValue empty unless
  // the call succeeds; a value of another type is a failure (not 0).
  virtual long GetStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                              std::optional<std::string>& sValue) = 0;
  // A REG_MULTI_SZ value, its strings in order. Leaves sValue empty unless
  // the call succeeds.
  virtual long GetMultiStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName,
                                   const std::string& sValueName,
                                   std::optional<std::vector<std::string>>& sValue) = 0;
  // Writes a REG_MULTI_SZ value in an existing key, over whatever stood there.
  virtual long SetMultiStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName,
                                   const std::string& sValueName, const std::vector<std::string>& sValue) = 0;
  // Deletes one value by its name; the key and its other values stay.
  virtual long DeleteValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName) = 0;
};

}  // namespace kelvane::platform
