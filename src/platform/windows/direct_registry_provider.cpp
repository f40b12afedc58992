#include "platform/windows/direct_registry_provider.h"

#include <iterator>

#include "platform/shared/collapse_separators.h"
#include "platform/windows/text.h"

namespace kelvane::platform::windows {

namespace {

constexpr long kTypeMismatch = static_cast<long>(0x80041005L);  // WBEM_E_TYPE_MISMATCH
constexpr long kInvalidParameter = static_cast<long>(0x80041008L);  // WBEM_E_INVALID_PARAMETER
constexpr const wchar_t* kMachineClasses = L"SOFTWARE\\Classes";

class Key {
 public:
  Key() = default;
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  HKEY get() const { return key_; }
  HKEY* put() { return &key_; }

 private:
  HKEY key_ = nullptr;
};

// The root and the path below it, the classes root taken as the machine's.
bool Locate(std::uint32_t hDefKey, const std::string& subKey, HKEY& root, std::wstring& path) {
  path = Widen(CollapseSeparators(subKey));
  switch (hDefKey) {
    case kClassesRoot:
      root = HKEY_LOCAL_MACHINE;
      path = path.empty() ? std::wstring(kMachineClasses) : std::wstring(kMachineClasses) + L"\\" + path;
      return true;
    case kCurrentUser:
      root = HKEY_CURRENT_USER;
      return true;
    case kLocalMachine:
      root = HKEY_LOCAL_MACHINE;
      return true;
    default:
      return false;
  }
}

long Open(std::uint32_t hDefKey, const std::string& subKey, REGSAM access, Key& key) {
  HKEY root = nullptr;
  std::wstring path;
  if (!Locate(hDefKey, subKey, root, path)) return kInvalidParameter;
  return static_cast<long>(RegOpenKeyExW(root, path.c_str(), 0, access, key.put()));
}

// The raw bytes of a value and its type; the status as the provider gives it.
long Query(HKEY key, const std::wstring& name, DWORD& type, std::wstring& data) {
  DWORD size = 0;
  for (;;) {
    data.assign(size / sizeof(wchar_t) + 1, L'\0');
    DWORD capacity = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    const LSTATUS status =
        RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &capacity);
    if (status == ERROR_MORE_DATA) {
      size = capacity;
      continue;
    }
    if (status != ERROR_SUCCESS) return static_cast<long>(status);
    data.resize(capacity / sizeof(wchar_t));
    return 0;
  }
}

}  // namespace

long DirectRegistryProvider::EnumKey(std::uint32_t hDefKey, const std::string& sSubKeyName,
                                     std::optional<std::vector<std::string>>& sNames) {
  sNames.reset();
  Key key;
  const long opened = Open(hDefKey, sSubKeyName, KEY_ENUMERATE_SUB_KEYS | viewFlag_, key);
  if (opened != 0) return opened;
  std::vector<std::string> names;
  wchar_t name[256];  // a key name has at most 255 characters
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(std::size(name));
    const LSTATUS status = RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) return static_cast<long>(status);
    names.push_back(Narrow(std::wstring(name, length)));
  }
  if (!names.empty()) sNames = std::move(names);
  return 0;
}

long DirectRegistryProvider::DeleteKey(std::uint32_t hDefKey, const std::string& sSubKeyName) {
  HKEY root = nullptr;
  std::wstring path;
  if (!Locate(hDefKey, sSubKeyName, root, path) || path.empty()) return kInvalidParameter;
  // A key with subkeys is refused (5) and stays, as the provider does.
  return static_cast<long>(RegDeleteKeyExW(root, path.c_str(), viewFlag_, 0));
}

long DirectRegistryProvider::EnumValues(std::uint32_t hDefKey, const std::string& sSubKeyName,
                                        std::optional<std::vector<std::string>>& sNames) {
  sNames.reset();
  Key key;
  const long opened = Open(hDefKey, sSubKeyName, KEY_QUERY_VALUE | viewFlag_, key);
  if (opened != 0) return opened;
  DWORD longest = 0;
  LSTATUS status = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    &longest, nullptr, nullptr, nullptr);
  if (status != ERROR_SUCCESS) return static_cast<long>(status);
  std::vector<std::string> names;
  std::wstring name(longest + 1, L'\0');
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    status = RegEnumValueW(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status == ERROR_MORE_DATA) {  // a value added since the count: read it again, larger
      name.assign(name.size() * 2, L'\0');
      --index;
      continue;
    }
    if (status != ERROR_SUCCESS) return static_cast<long>(status);
    names.push_back(Narrow(std::wstring(name.data(), length)));
  }
  if (!names.empty()) sNames = std::move(names);
  return 0;
}

long DirectRegistryProvider::Read(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                                  DWORD& type, std::wstring& data) const {
  Key key;
  const long opened = Open(hDefKey, sSubKeyName, KEY_QUERY_VALUE | viewFlag_, key);
  return opened != 0 ? opened : Query(key.get(), Widen(sValueName), type, data);
}

long DirectRegistryProvider::GetStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName,
                                            const std::string& sValueName, std::optional<std::string>& sValue) {
  sValue.reset();
  DWORD type = 0;
  std::wstring data;
  const long status = Read(hDefKey, sSubKeyName, sValueName, type, data);
  if (status != 0) return status;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return kTypeMismatch;
  // Stored with or without its terminator; the text ends at the first one.
  const std::size_t end = data.find(L'\0');
  if (end != std::wstring::npos) data.resize(end);
  sValue = Narrow(data);
  return 0;
}

long DirectRegistryProvider::GetMultiStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName,
                                                 const std::string& sValueName,
                                                 std::optional<std::vector<std::string>>& sValue) {
  sValue.reset();
  DWORD type = 0;
  std::wstring data;
  const long status = Read(hDefKey, sSubKeyName, sValueName, type, data);
  if (status != 0) return status;
  if (type != REG_MULTI_SZ) return kTypeMismatch;
  // Strings end at their terminators; the list ends at an empty one.
  std::vector<std::string> strings;
  std::size_t begin = 0;
  while (begin < data.size()) {
    std::size_t end = data.find(L'\0', begin);
    if (end == std::wstring::npos) end = data.size();
    if (end == begin) break;
    strings.push_back(Narrow(data.substr(begin, end - begin)));
    begin = end + 1;
  }
  sValue = std::move(strings);
  return 0;
}

long DirectRegistryProvider::SetMultiStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName,
                                                 const std::string& sValueName,
                                                 const std::vector<std::string>& sValue) {
  Key key;
  const long opened = Open(hDefKey, sSubKeyName, KEY_SET_VALUE | viewFlag_, key);
  if (opened != 0) return opened;
  std::wstring data;
  for (const std::string& text : sValue) {
    data += Widen(text);
    data += L'\0';
  }
  data += L'\0';
  return static_cast<long>(RegSetValueExW(key.get(), Widen(sValueName).c_str(), 0, REG_MULTI_SZ,
                                          reinterpret_cast<const BYTE*>(data.data()),
                                          static_cast<DWORD>(data.size() * sizeof(wchar_t))));
}

long DirectRegistryProvider::DeleteValue(std::uint32_t hDefKey, const std::string& sSubKeyName,
                                         const std::string& sValueName) {
  Key key;
  const long opened = Open(hDefKey, sSubKeyName, KEY_SET_VALUE | viewFlag_, key);
  if (opened != 0) return opened;
  return static_cast<long>(RegDeleteValueW(key.get(), Widen(sValueName).c_str()));
}

}  // namespace kelvane::platform::windows
