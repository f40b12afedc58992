#pragma once

#include "platform/windows/windows_api.h"

#include "platform/interface/registry_provider.h"

namespace kelvane::platform::windows {

// The registry provider's methods through the registry functions, with the
// provider's statuses (0, 2 no such key or value, 5 access denied, the WMI
// type mismatch for a value of another type). The classes root is always
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes, never the merged view, which holds
// the caller's own HKEY_CURRENT_USER\Software\Classes. viewFlag is 0 for the
// program's own view or KEY_WOW64_64KEY for the native one.
class DirectRegistryProvider final : public RegistryProvider {
 public:
  explicit DirectRegistryProvider(REGSAM viewFlag) : viewFlag_(viewFlag) {}

  long EnumKey(std::uint32_t hDefKey, const std::string& sSubKeyName,
               std::optional<std::vector<std::string>>& sNames) override;
  long DeleteKey(std::uint32_t hDefKey, const std::string& sSubKeyName) override;
  long EnumValues(std::uint32_t hDefKey, const std::string& sSubKeyName,
                  std::optional<std::vector<std::string>>& sNames) override;
  long GetStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                      std::optional<std::string>& sValue) override;
  long GetMultiStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                           std::optional<std::vector<std::string>>& sValue) override;
  long SetMultiStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                           const std::vector<std::string>& sValue) override;
  long DeleteValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName) override;

 private:
  // A value's type and its data, read in this provider's view.
  long Read(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName, DWORD& type,
            std::wstring& data) const;

  REGSAM viewFlag_;
};

}  // namespace kelvane::platform::windows
