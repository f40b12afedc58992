#include "files/kept_key_paths.h"

#include <optional>
#include <vector>

#include "common/ascii_case.h"
#include "common/office_product_code.h"
#include "installer/uninstall_msis.h"
#include "platform/shared/skip_if_fails.h"
#include "registry/registry_plan.h"
#include "registry/value_references.h"

namespace kelvane::files {

using platform::SkipIfFails;

namespace {

// Windows compares paths without regard to case; a trailing backslash does
// not count.
std::string Folded(std::string_view path) {
  std::string folded = FoldedAscii(path);
  while (!folded.empty() && folded.back() == '\\') folded.pop_back();
  return folded;
}

// A key path that names a file: a drive letter, a colon and a backslash (a
// registry key path starts with its root's number and a colon instead).
bool NamesAFile(std::string_view keyPath) {
  return keyPath.size() > 3 && keyPath[1] == ':' && keyPath[2] == '\\' &&
         ((keyPath[0] >= 'A' && keyPath[0] <= 'Z') || (keyPath[0] >= 'a' && keyPath[0] <= 'z'));
}

bool KeptProductInstalled(platform::Platform& platform) {
  std::vector<std::unique_ptr<platform::Product>> products;
  SkipIfFails([&] {
    products = platform.objects.GetProductServices(installer::ProductServicesMoniker("."))
                   ->ExecQuery(installer::kProductQuery);
  });
  for (const auto& product : products) {
    bool kept = false;
    SkipIfFails([&] { kept = BelongsToKeptOffice14Product(product->ProductCode()); });
    if (kept) return true;
  }
  return false;
}

}  // namespace

void KeptKeyPaths::Add(std::string_view path) { folded_.insert(Folded(path)); }

bool KeptKeyPaths::Keeps(std::string_view path) const { return folded_.count(Folded(path)) > 0; }

bool KeptKeyPaths::HoldsKept(std::string_view folder) const {
  const std::string prefix = Folded(folder) + "\\";
  const auto first = folded_.lower_bound(prefix);
  return first != folded_.end() && first->compare(0, prefix.size(), prefix) == 0;
}

KeptKeyPaths KeptKeyPaths::Find(platform::Platform& platform) {
  KeptKeyPaths kept;
  if (!KeptProductInstalled(platform)) return kept;
  std::unique_ptr<platform::RegistryProvider> provider;
  SkipIfFails([&] {
    provider = platform.objects.GetRegistryProvider(registry::RegistryProviderMoniker("."),
                                                    platform::RegistryView::Native);
  });
  if (!provider) return kept;
  registry::ForEachReferencingKey(
      *provider, platform::kLocalMachine, kComponentRecords,
      [](const std::string& client) { return BelongsToKeptOffice14Product(client); },
      [&](const std::string& key, const std::vector<std::string>& clients) {
        for (const std::string& client : clients) {
          std::optional<std::string> keyPath;
          SkipIfFails([&] { provider->GetStringValue(platform::kLocalMachine, key, client, keyPath); });
          if (keyPath && NamesAFile(*keyPath)) kept.Add(*keyPath);
        }
      });
  return kept;
}

}  // namespace kelvane::files
