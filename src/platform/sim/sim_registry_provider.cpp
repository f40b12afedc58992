#include "platform/sim/sim_registry_provider.h"
#include "platform/sim/windows_errors.h"

namespace kelvane::platform::sim {

namespace {

constexpr long kSuccess = 0;
constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;
constexpr long kInvalidHandle = 6;

class SimRegistryProvider final : public platform::RegistryProvider {
 public:
  explicit SimRegistryProvider(Machine& machine) : machine_(machine) {}

  long EnumKey(std::uint32_t hDefKey, const std::string& sSubKeyName,
               std::optional<std::vector<std::string>>& sNames) override {
    const auto root = RegistryTree::RootName(hDefKey);
    machine_.Check(Operation::EnumKey, root.value_or("?") + "\\" + sSubKeyName, WmiGenericFailure());
    // A call that returns sets the output: without an array unless there are
    // subkeys to list.
    sNames.reset();
    if (!root) return kInvalidHandle;
    const RegistryKey* key = machine_.registry().Find(*root + "\\" + sSubKeyName);
    if (!key) return kFileNotFound;
    if (!key->subkeys.empty()) sNames = key->SortedSubkeyNames();
    return kSuccess;
  }

  long DeleteKey(std::uint32_t hDefKey, const std::string& sSubKeyName) override {
    const auto root = RegistryTree::RootName(hDefKey);
    const std::string fullName = root.value_or("?") + "\\" + sSubKeyName;
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

  long EnumValues(std::uint32_t, const std::string&, std::optional<std::vector<std::string>>&) override { throw platform::Error(static_cast<long>(0x80004001L), "Not implemented"); }
  long GetStringValue(std::uint32_t, const std::string&, const std::string&, std::optional<std::string>&) override {
    throw platform::Error(static_cast<long>(0x80004001L), "Not implemented");
  }
  long GetMultiStringValue(std::uint32_t, const std::string&, const std::string&,
                           std::optional<std::vector<std::string>>&) override {
    throw platform::Error(static_cast<long>(0x80004001L), "Not implemented");
  }
  long SetMultiStringValue(std::uint32_t, const std::string&, const std::string&,
                           const std::vector<std::string>&) override {
    throw platform::Error(static_cast<long>(0x80004001L), "Not implemented");
  }
  long DeleteValue(std::uint32_t, const std::string&, const std::string&) override { throw platform::Error(static_cast<long>(0x80004001L), "Not implemented"); }

 private:
  Machine& machine_;
};

}  // namespace

std::unique_ptr<platform::RegistryProvider> MakeRegistryProvider(Machine& machine) {
  return std::make_unique<SimRegistryProvider>(machine);
}

}  // namespace kelvane::platform::sim
