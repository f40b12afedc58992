#include "registry/remove_reg_keys.h"

#include <optional>
#include <vector>

#include "common/office_product_code.h"
#include "common/text.h"
#include "installer/another_office.h"
#include "platform/shared/edition_views.h"
#include "platform/shared/progress.h"
#include "platform/shared/skip_if_fails.h"
#include "registry/delete_subkeys.h"
#include "registry/registry_plan.h"
#include "registry/value_references.h"
#include "registry/view_providers.h"

namespace kelvane::registry {

using platform::Require;
using platform::SkipIfFails;

bool EnumerationStep::Matches(std::string_view name) const {
  return (rule == MatchRule::EndsWith ? EndsWith(name, literal) : BeginsWith(name, literal)) &&
         !BelongsToAnotherOffice(name) && !BelongsToKeptOffice14Product(name);
}

bool ReferenceStep::Names(std::string_view valueName) { return IsPackedOffice2010Code(valueName); }

void RemoveRegKeys(platform::Platform& platform) {
  ViewProviders providers(platform.objects);
  const std::vector<platform::EditionView> editions = platform::MachineEditionViews(platform.kernel);

  // The fixed keys always have subkeys, and a key with subkeys cannot be
  // deleted on its own: each goes with its whole subtree, in each view it
  // is kept in.
  for (const FixedKey& key : kFixedKeys) {
    if (key.keyPath == kSourceEngineServiceKey && installer::AnotherOfficeInstalled(platform)) continue;
    for (const platform::EditionView& view : ViewsOf(key, editions)) {
      SkipIfFails([&] { ShowProgress(platform.windows, "Removing RegKey" + key.FullName()); });
      SkipIfFails([&] { DeleteSubkeys(providers.In(view.registry), platform.windows, key.root, std::string(key.keyPath)); });
    }
  }

  for (const EnumerationStep& step : kEnumerationPlan) {
    const std::string parentPath(step.parentPath);
    for (const platform::EditionView& view : ViewsOf(step, editions)) {
      // A fresh list per step: a failed enumeration never reuses an earlier one.
      std::optional<std::vector<std::string>> arrSubKeys;
      bool enumerated = false;
      SkipIfFails([&] {
        providers.In(view.registry).EnumKey(step.root, parentPath, arrSubKeys);
        enumerated = true;
      });
      if (!enumerated || !arrSubKeys) continue;
      for (const auto& name : *arrSubKeys) {
        if (!step.Matches(name)) continue;
        const std::string fullPath = parentPath + "\\" + name;
        SkipIfFails([&] { ShowProgress(platform.windows, "Removing: " + fullPath); });
        SkipIfFails([&] { DeleteSubkeys(providers.In(view.registry), platform.windows, step.root, fullPath); });
      }
    }
  }

  for (const ReferenceStep& step : kReferencePlan) {
    SkipIfFails([&] {
      auto& provider = providers.In(RegistryView::Native);
      ForEachReferencingKey(provider, step.root, std::string(step.parentPath), ReferenceStep::Names,
                            // Values, not keys, go: the progress line stays as it is.
                            [&](const std::string& keyPath, const std::vector<std::string>& values) {
                              DeleteValuesThenEmptyKey(provider, step.root, keyPath, values);
                            });
    });
  }
}

}  // namespace kelvane::registry
