#include "platform/sim/installer_records.h"

#include "platform/shared/edition_views.h"

#include <set>

#include "platform/shared/installer_guid.h"
#include "platform/sim/image/reg_value.h"
#include "platform/sim/image/text_case.h"

namespace kelvane::platform::sim {

namespace guid = platform::installer_guid;

namespace {

const std::string kUninstall = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::optional<std::string> StringValue(const Machine& machine, const std::string& keyName, const std::string& name) {
  const RegistryKey* key = machine.registry().Find(keyName);
  const std::string* line = key ? FindValue(*key, name) : nullptr;
  const auto value = line ? ParseRegValue(*line) : std::nullopt;
  if (!value || (value->type != RegValue::Type::String && value->type != RegValue::Type::ExpandString)) {
    return std::nullopt;
  }
  return value->strings.front();
}

std::vector<std::string> SubkeyNames(const Machine& machine, const std::string& keyName) {
  const RegistryKey* key = machine.registry().Find(keyName);
  return key ? key->SortedSubkeyNames() : std::vector<std::string>{};
}

// Removes the value named by the product from each subkey of the parent,
// and a subkey it leaves with neither values nor subkeys.
void RemoveClientValues(Machine& machine, const std::string& parentName, const std::string& packed) {
  RegistryKey* parent = machine.registry().Find(parentName);
  if (!parent) return;
  std::erase_if(parent->subkeys, [&](auto& entry) {
    RegistryKey& key = *entry.second;
    return EraseValue(key, packed) && key.values.empty() && key.subkeys.empty();
  });
}

// Takes the product's descriptors out of every published component's
// lists; a list left empty goes, and so does a key left empty.
void RemoveDescriptors(Machine& machine, const std::string& parentName, const std::string& productCode) {
  RegistryKey* parent = machine.registry().Find(parentName);
  if (!parent) return;
  std::erase_if(parent->subkeys, [&](auto& entry) {
    RegistryKey& key = *entry.second;
    bool changed = false;
    for (const std::string& name : ValueNames(key)) {
      const auto value = ParseRegValue(*FindValue(key, name));
      if (!value || value->type != RegValue::Type::MultiString) continue;
      std::vector<std::string> kept;
      for (const auto& descriptor : value->strings) {
        const auto owner = guid::DescriptorProduct(descriptor);
        if (!owner || !SameIgnoringAsciiCase(*owner, productCode)) kept.push_back(descriptor);
      }
      if (kept.size() == value->strings.size()) continue;
      changed = true;
      if (kept.empty()) {
        EraseValue(key, name);
      } else {
        SetValue(key, name, FormatMultiStringValue(name, kept));
      }
    }
    return changed && key.values.empty() && key.subkeys.empty();
  });
}

void DeleteCached(Machine& machine, const std::string& path) {
  const auto item = machine.drive().Find(path);
  if (item && machine.InInstallerFolder(*item)) machine.Delete(*item, true);
}

}  // namespace

bool IsRegistered(const Machine& machine, const std::string& productCode) {
  const auto packed = guid::Packed(productCode);
  return packed && machine.registry().Find(kClassesInstaller + "\\Products\\" + *packed);
}

std::vector<platform::PatchRegistration> RegisteredPatches(const Machine& machine) {
  std::vector<platform::PatchRegistration> patches;
  for (const auto& context : SubkeyNames(machine, kInstallerData + "\\UserData")) {
    const std::string products = kInstallerData + "\\UserData\\" + context + "\\Products";
    for (const auto& product : SubkeyNames(machine, products)) {
      const auto productCode = guid::Unpacked(product);
      if (!productCode) continue;
      for (const auto& patch : SubkeyNames(machine, products + "\\" + product + "\\Patches")) {
        if (const auto patchCode = guid::Unpacked(patch)) patches.push_back({*patchCode, *productCode});
      }
    }
  }
  return patches;
}

void RemoveProductRecords(Machine& machine, const std::string& productCode) {
  const auto packed = guid::Packed(productCode);
  if (!packed) return;
  const std::string userData = kMachineData + "\\Products\\" + *packed;
  // What has to be read before its keys go.
  const auto localPackage = StringValue(machine, userData + "\\InstallProperties", "LocalPackage");
  const auto patches = SubkeyNames(machine, userData + "\\Patches");

  RegistryTree& registry = machine.registry();
  for (const std::string& key : {kClassesInstaller + "\\Products\\" + *packed, kClassesInstaller + "\\Features\\" + *packed,
                                 userData, kUninstall + productCode}) {
    registry.Remove(key);
  }
  // A 32-bit product's entry on 64-bit Windows.
  registry.Remove(platform::InWow6432Node(kUninstall + productCode));
  RemoveClientValues(machine, kMachineData + "\\Components", *packed);
  RemoveClientValues(machine, kClassesInstaller + "\\UpgradeCodes", *packed);
  RemoveClientValues(machine, kInstallerData + "\\UpgradeCodes", *packed);
  for (const char* published : {"\\Components", "\\Assemblies", "\\Win32Assemblies"}) {
    RemoveDescriptors(machine, kClassesInstaller + published, productCode);
  }

  // A patch goes with the last product that lists it.
  std::set<std::string, NameLess> stillListed;
  for (const auto& patch : RegisteredPatches(machine)) {
    if (const auto packedPatch = guid::Packed(patch.patchCode)) stillListed.insert(*packedPatch);
  }
  for (const auto& patch : patches) {
    if (stillListed.count(patch)) continue;
    const std::string patchData = kMachineData + "\\Patches\\" + patch;
    if (const auto msp = StringValue(machine, patchData, "LocalPackage")) DeleteCached(machine, *msp);
    registry.Remove(patchData);
    registry.Remove(kClassesInstaller + "\\Patches\\" + patch);
  }

  const std::string folder = machine.InstallerFolder();
  if (localPackage) DeleteCached(machine, *localPackage);
  DeleteCached(machine, folder + "\\" + productCode);
  DeleteCached(machine, folder + "\\$PatchCache$\\Managed\\" + *packed);
}

}  // namespace kelvane::platform::sim
