#include "platform/sim/sim_registry_provider.h"
#include "platform/shared/edition_views.h"
#include "platform/sim/image/reg_value.h"
#include "platform/sim/windows_errors.h"

namespace kelvane::platform::sim {

namespace {

constexpr long kSuccess = 0;
constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;
constexpr long kInvalidHandle = 6;

class SimRegistryProvider final : public platform::RegistryProvider {
 public:
  SimRegistryProvider(Machine& machine, bool thirtyTwoBitView) : machine_(machine), thirtyTwoBitView_(thirtyTwoBitView) {}

  long EnumKey(std::uint32_t hDefKey, const std::string& sSubKeyName,
               std::optional<std::vector<std::string>>& sNames) override {
    const auto root = RegistryTree::RootName(hDefKey);
    machine_.Check(Operation::EnumKey, Name(root, sSubKeyName), WmiGenericFailure());
    // A call that returns sets the output: without an array unless there are
    // subkeys to list.
    sNames.reset();
    if (!root) return kInvalidHandle;
    const RegistryKey* key = machine_.registry().Find(Name(root, sSubKeyName));
    if (!key) return kFileNotFound;
    if (!key->subkeys.empty()) sNames = key->SortedSubkeyNames();
    return kSuccess;
  }

  long DeleteKey(std::uint32_t hDefKey, const std::string& sSubKeyName) override {
    const auto root = RegistryTree::RootName(hDefKey);
    const std::string fullName = Name(root, sSubKeyName);
    machine_.Check(Operation::DeleteKey, fullName, WmiGenericFailure());
    if (!root) return kInvalidHandle;
    const RegistryKey* key = machine_.registry().Find(fullName);
    if (!key) return kFileNotFound;
    if (machine_.FailsOn(Operation::DeleteKeyDenied, fullName)) return kAccessDenied;
    // Like RegDeleteKey: a key that still has subkeys stays, and so does a root.
    if (!key->subkeys.empty() || RegistryTree::SplitKeyPath(sSubKeyName).empty()) return kAccessDenied;
    machine_.registry().Remove(fullName);
    return kSuccess;
  }

  long EnumValues(std::uint32_t hDefKey, const std::string& sSubKeyName,
                  std::optional<std::vector<std::string>>& sNames) override {
    const auto root = RegistryTree::RootName(hDefKey);
    const std::string fullName = Name(root, sSubKeyName);
    machine_.Check(Operation::EnumValues, fullName, WmiGenericFailure());
    sNames.reset();
    if (!root) return kInvalidHandle;
    const RegistryKey* key = machine_.registry().Find(fullName);
    if (!key) return kFileNotFound;
    if (auto names = ValueNames(*key); !names.empty()) sNames = std::move(names);
    return kSuccess;
  }

  long GetStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                      std::optional<std::string>& sValue) override {
    sValue.reset();
    RegValue value;
    if (const long status = Read(Operation::GetStringValue, hDefKey, sSubKeyName, sValueName, value)) return status;
    if (value.type != RegValue::Type::String && value.type != RegValue::Type::ExpandString) return kTypeMismatch;
    sValue = value.strings.front();
    return kSuccess;
  }

  long GetMultiStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                           std::optional<std::vector<std::string>>& sValue) override {
    sValue.reset();
    RegValue value;
    if (const long status = Read(Operation::GetMultiStringValue, hDefKey, sSubKeyName, sValueName, value)) {
      return status;
    }
    if (value.type != RegValue::Type::MultiString) return kTypeMismatch;
    sValue = std::move(value.strings);
    return kSuccess;
  }

  long SetMultiStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                           const std::vector<std::string>& sValue) override {
    RegistryKey* key = nullptr;
    if (const long status = Write(Operation::SetMultiStringValue, hDefKey, sSubKeyName, sValueName, false, key)) {
      return status;
    }
    SetValue(*key, sValueName, FormatMultiStringValue(sValueName, sValue));
    return kSuccess;
  }

  long DeleteValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName) override {
    RegistryKey* key = nullptr;
    if (const long status = Write(Operation::DeleteValue, hDefKey, sSubKeyName, sValueName, true, key)) {
      return status;
    }
    EraseValue(*key, sValueName);
    return kSuccess;
  }

 private:
  // StdRegProv's answer for a value of another type (WBEM_E_TYPE_MISMATCH).
  static constexpr long kTypeMismatch = static_cast<long>(0x80041005);

  long Read(Operation operation, std::uint32_t hDefKey, const std::string& sSubKeyName,
            const std::string& sValueName, RegValue& value) const {
    const auto root = RegistryTree::RootName(hDefKey);
    const std::string fullName = Name(root, sSubKeyName);
    machine_.Check(operation, fullName + "\\" + sValueName, WmiGenericFailure());
    if (!root) return kInvalidHandle;
    const RegistryKey* key = machine_.registry().Find(fullName);
    const std::string* line = key ? FindValue(*key, sValueName) : nullptr;
    if (!line) return kFileNotFound;
    value = ParseRegValue(*line).value_or(RegValue{});
    return kSuccess;
  }

  // The key a value is written in; a key the machine refuses to have
  // deleted (DeleteKeyDenied) refuses its values' changes too.
  long Write(Operation operation, std::uint32_t hDefKey, const std::string& sSubKeyName,
             const std::string& sValueName, bool valueMustExist, RegistryKey*& key) const {
    const auto root = RegistryTree::RootName(hDefKey);
    const std::string fullName = Name(root, sSubKeyName);
    machine_.Check(operation, fullName + "\\" + sValueName, WmiGenericFailure());
    if (!root) return kInvalidHandle;
    key = machine_.registry().Find(fullName);
    if (!key || (valueMustExist && !FindValue(*key, sValueName))) return kFileNotFound;
    if (machine_.FailsOn(Operation::DeleteKeyDenied, fullName)) return kAccessDenied;
    return kSuccess;
  }

  // The key's full name in the provider's view: a 64-bit Windows shows the
  // 32-bit view's HKEY_LOCAL_MACHINE\SOFTWARE under Wow6432Node.
  std::string Name(const std::optional<std::string>& root, const std::string& path) const {
    const std::string name = root.value_or("?") + "\\" + path;
    return thirtyTwoBitView_ ? platform::InWow6432Node(name) : name;
  }

  Machine& machine_;
  bool thirtyTwoBitView_;
};

}  // namespace

std::unique_ptr<platform::RegistryProvider> MakeRegistryProvider(Machine& machine, platform::RegistryView view) {
  return std::make_unique<SimRegistryProvider>(machine, machine.config().windows64 && view != platform::RegistryView::Native);
}

}  // namespace kelvane::platform::sim
