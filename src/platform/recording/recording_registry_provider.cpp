#include "platform/recording/recording_registry_provider.h"

#include <algorithm>
#include <cstdio>

#include "common/ascii_case.h"
#include "platform/recording/recording_platform.h"

namespace kelvane::platform::recording {

namespace {

// An unknown handle by its number, so that a lookup with it finds nothing.
std::string RootName(std::uint32_t root) {
  const std::string_view name = platform::RootName(root);
  return name.empty() ? "HKEY_" + std::to_string(root) : std::string(name);
}


std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", value);
  return text;
}

class RecordingRegistryProvider final : public platform::RegistryProvider {
 public:
  explicit RecordingRegistryProvider(RecordingPlatform& recorder) : recorder_(recorder) {}

  long EnumKey(std::uint32_t hDefKey, const std::string& sSubKeyName,
               std::optional<std::vector<std::string>>& sNames) override {
    recorder_.Record("EnumKey " + Hex(hDefKey) + " " + sSubKeyName);
    recorder_.Check(Operation::EnumKey, RootName(hDefKey) + "\\" + sSubKeyName);
    sNames.reset();  // a call that returns sets the output, as the provider's does
    const std::string key = KeyName(RootName(hDefKey) + "\\" + sSubKeyName);
    if (!recorder_.machine.keys.count(key)) return 2;
    std::vector<std::string> names;
    for (const auto& other : recorder_.machine.keys) {
      if (SameIgnoringAsciiCase(Parent(other), key)) names.push_back(Leaf(other));
    }
    if (!names.empty()) sNames = std::move(names);
    return 0;
  }

  long DeleteKey(std::uint32_t hDefKey, const std::string& sSubKeyName) override {
    recorder_.Record("DeleteKey " + Hex(hDefKey) + " " + sSubKeyName);
    recorder_.Check(Operation::DeleteKey, RootName(hDefKey) + "\\" + sSubKeyName);
    const std::string key = KeyName(RootName(hDefKey) + "\\" + sSubKeyName);
    auto& keys = recorder_.machine.keys;
    if (!keys.count(key)) return 2;
    if (Refused(hDefKey, sSubKeyName)) return 5;
    if (std::any_of(keys.begin(), keys.end(), [&](const auto& other) { return IsBelow(other, key); })) return 5;
    keys.erase(key);
    recorder_.machine.values.erase(key);
    return 0;
  }

  long EnumValues(std::uint32_t hDefKey, const std::string& sSubKeyName,
                  std::optional<std::vector<std::string>>& sNames) override {
    const std::string key = KeyName(RootName(hDefKey) + "\\" + sSubKeyName);
    recorder_.Record("EnumValues " + key);
    recorder_.Check(Operation::EnumValues, key);
    sNames.reset();
    if (!recorder_.machine.keys.count(key)) return 2;
    const auto values = recorder_.machine.values.find(key);
    if (values == recorder_.machine.values.end() || values->second.empty()) return 0;
    std::vector<std::string> names;
    for (const auto& [name, value] : values->second) names.push_back(name);
    sNames = std::move(names);
    return 0;
  }

  long GetStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                      std::optional<std::string>& sValue) override {
    sValue.reset();
    const RecordedValue* value = Read(hDefKey, sSubKeyName, sValueName, Operation::GetStringValue);
    if (!value) return 2;
    if (value->type != RecordedValue::Type::String) return kTypeMismatch;
    sValue = value->strings.empty() ? std::string() : value->strings.front();
    return 0;
  }

  long GetMultiStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                           std::optional<std::vector<std::string>>& sValue) override {
    sValue.reset();
    const RecordedValue* value = Read(hDefKey, sSubKeyName, sValueName, Operation::GetMultiStringValue);
    if (!value) return 2;
    if (value->type != RecordedValue::Type::MultiString) return kTypeMismatch;
    sValue = value->strings;
    return 0;
  }

  long SetMultiStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                           const std::vector<std::string>& sValue) override {
    const std::string key = KeyName(RootName(hDefKey) + "\\" + sSubKeyName);
    std::string joined;
    for (const auto& text : sValue) joined += (joined.empty() ? "" : "|") + text;
    recorder_.Record("SetMultiStringValue " + key + "\\" + sValueName + " = " + joined);
    recorder_.Check(Operation::SetMultiStringValue, key + "\\" + sValueName);
    if (!recorder_.machine.keys.count(key)) return 2;
    if (Refused(hDefKey, sSubKeyName)) return 5;
    recorder_.machine.values[key][sValueName] = RecordedValue{RecordedValue::Type::MultiString, sValue};
    return 0;
  }

  long DeleteValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName) override {
    const std::string key = KeyName(RootName(hDefKey) + "\\" + sSubKeyName);
    recorder_.Record("DeleteValue " + key + "\\" + sValueName);
    recorder_.Check(Operation::DeleteValue, key + "\\" + sValueName);
    auto values = recorder_.machine.values.find(key);
    if (values == recorder_.machine.values.end() || !values->second.count(sValueName)) return 2;
    if (Refused(hDefKey, sSubKeyName)) return 5;
    values->second.erase(sValueName);
    return 0;
  }

 private:
  // A key the machine keeps, or one a DeleteKeyDenied fault names: it stays,
  // and so do its values.
  bool Refused(std::uint32_t hDefKey, const std::string& sSubKeyName) const {
    const std::string fullName = RootName(hDefKey) + "\\" + sSubKeyName;
    return recorder_.machine.refusedKeys.count(KeyName(fullName)) > 0 ||
           recorder_.FailsOn(Operation::DeleteKeyDenied, fullName);
  }

  static constexpr long kTypeMismatch = static_cast<long>(0x80041005);  // WBEM_E_TYPE_MISMATCH

  const RecordedValue* Read(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                        Operation operation) {
    const std::string key = KeyName(RootName(hDefKey) + "\\" + sSubKeyName);
    recorder_.Record(std::string(platform::OperationName(operation)) + " " + key + "\\" + sValueName);
    recorder_.Check(operation, key + "\\" + sValueName);
    return recorder_.machine.Value(key, sValueName);
  }

  RecordingPlatform& recorder_;
};

}  // namespace

std::unique_ptr<platform::RegistryProvider> MakeRecordingRegistryProvider(RecordingPlatform& recorder) {
  return std::make_unique<RecordingRegistryProvider>(recorder);
}

}  // namespace kelvane::platform::recording
