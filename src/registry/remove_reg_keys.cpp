#include "registry/remove_reg_keys.h"

#include <optional>
#include <vector>

#include "common/office_product_code.h"
#include "common/text.h"
#include "installer/another_office.h"
#include "platform/shared/progress.h"
#include "platform/shared/skip_if_fails.h"
#include "registry/delete_subkeys.h"
#include "registry/registry_plan.h"
#include "registry/value_references.h"

namespace kelvane::registry {

using platform::Require;
using platform::SkipIfFails;

bool EnumerationStep::Matches(std::string_view name) const {
  return (rule == MatchRule::EndsWith ? EndsWith(name, literal) : BeginsWith(name, literal)) &&
         !BelongsToAnotherOffice(name) && !BelongsToKeptOffice14Product(name);
}

bool ReferenceStep::Names(std::string_view valueName) { return IsPackedOffice2010Code(valueName); }

void RemoveRegKeys(platform::Platform& platform) {
  const std::string strComputer = ".";
  std::unique_ptr<platform::RegistryProvider> program, native;
  SkipIfFails([&] { program = platform.objects.GetRegistryProvider(RegistryProviderMoniker(strComputer)); });
  SkipIfFails([&] {
    native = platform.objects.GetRegistryProvider(RegistryProviderMoniker(strComputer), RegistryView::Native);
  });
  const auto in = [&](RegistryView view) -> const std::unique_ptr<platform::RegistryProvider>& {
    return view == RegistryView::Native ? native : program;
  };

  // The fixed keys always have subkeys, and a key with subkeys cannot be
  // deleted on its own: each goes with its whole subtree.
  for (const FixedKey& key : kFixedKeys) {
    if (key.keyPath == kSourceEngineServiceKey && installer::AnotherOfficeInstalled(platform)) continue;
    SkipIfFails([&] { ShowProgress(platform.windows, "Removing RegKey" + key.FullName()); });
    SkipIfFails([&] { DeleteSubkeys(Require(in(key.view)), platform.windows, key.root, std::string(key.keyPath)); });
  }

  for (const EnumerationStep& step : kEnumerationPlan) {
    const std::string parentPath(step.parentPath);
    // A fresh list per step: a failed enumeration never reuses an earlier one.
    std::optional<std::vector<std::string>> arrSubKeys;
    bool enumerated = false;
    SkipIfFails([&] {
      Require(in(step.view)).EnumKey(step.root, parentPath, arrSubKeys);
      enumerated = true;
    });
    if (!enumerated || !arrSubKeys) continue;
    for (const auto& name : *arrSubKeys) {
      if (!step.Matches(name)) continue;
      const std::string fullPath = parentPath + "\\" + name;
      SkipIfFails([&] { ShowProgress(platform.windows, "Removing: " + fullPath); });
      SkipIfFails([&] { DeleteSubkeys(Require(in(step.view)), platform.windows, step.root, fullPath); });
    }
  }

  for (const ReferenceStep& step : kReferencePlan) {
    SkipIfFails([&] {
      auto& provider = Require(native);
      ForEachReferencingKey(provider, step.root, std::string(step.parentPath), ReferenceStep::Names,
                            // Values, not keys, go: the progress line stays as it is.
                            [&](const std::string& keyPath, const std::vector<std::string>& values) {
                              DeleteValuesThenEmptyKey(provider, step.root, keyPath, values);
                            });
    });
  }
}

}  // namespace kelvane::registry
