#include "report.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "common/office_product_code.h"
#include "common/resume_state.h"
#include "common/text.h"
#include "files/remove_files.h"
#include "installer/uninstall_msis.h"
#include "platform/separators.h"
#include "platform/sim/image/registry_tree.h"
#include "registry/registry_plan.h"

namespace kelvane::sim {

namespace {

// A key's full name as the plan names it, without a trailing backslash.
std::string FullName(std::uint32_t root, std::string_view path) {
  return platform::CollapseSeparators(*RegistryTree::RootName(root) + "\\" + std::string(path));
}

}  // namespace

std::vector<std::string> FindTraces(Machine& machine) {
  std::vector<std::string> traces;
  const auto item = [&](const char* kind, const std::string& path, bool folder) {
    const auto found = machine.drive().Find(machine.Expand(path));
    if (found && (folder ? Drive::IsFolder(*found) : Drive::IsFile(*found))) {
      traces.push_back(std::string(kind) + "\t" + found->path.Text());
    }
  };
  // The Source Engine service is another Office's too while one is installed.
  const bool anotherOffice = std::any_of(machine.products().begin(), machine.products().end(),
                                         [](const auto& product) { return !product.perUser && BelongsToAnotherOffice(product.code); });

  // The file phase's own list, and the program folder its batch file removes.
  item("folder", files::kProgramFolder, true);
  for (const char* name : files::kSharedFolders) {
    if (anotherOffice && name == std::string_view(files::kSourceEngineFolder)) continue;
    item("folder", std::string(files::kCommonFilesReference) + files::kSharedTail + name, true);
  }
  item("folder", std::string(files::kStartMenuReference) + files::kStartMenuGroupTail, true);
  if (const auto caches = machine.drive().Find(files::kCacheRoot)) {
    for (const auto& cache : machine.drive().List(*caches)) {
      if (Drive::IsFolder(cache) && files::IsOffice2010Cache(cache.Name())) {
        traces.push_back("folder\t" + cache.path.Text());
      }
    }
  }
  for (const char* tail : files::kTemplateTails) item("file", std::string(files::kAppDataReference) + tail, false);

  // The registry plan itself: what the tool deletes is what is reported.
  for (const registry::FixedKey& fixed : registry::kFixedKeys) {
    if (anotherOffice && fixed.keyPath == registry::kSourceEngineServiceKey) continue;
    const std::string key = FullName(fixed.root, fixed.keyPath);
    if (machine.registry().Find(key)) traces.push_back("key\t" + key);
  }
  for (const registry::EnumerationStep& step : registry::kEnumerationPlan) {
    const std::string parent = FullName(step.root, step.parentPath);
    const RegistryKey* key = machine.registry().Find(parent);
    if (!key) continue;
    for (const auto& name : key->SortedSubkeyNames()) {
      const std::string line = "key\t" + parent + "\\" + name;
      if (step.Matches(name) && (traces.empty() || traces.back() != line)) traces.push_back(line);
    }
  }
  for (const auto& product : machine.products()) {
    if (product.name && BeginsWith(*product.name, installer::kProductNamePrefix) &&
        !BelongsToAnotherOffice(product.code)) {
      traces.push_back("product\t" + *product.name);
    }
  }

  item("batch file", std::string(kTempReference) + "\\" + kBatchFileName, false);
  item("shortcut", std::string(kAllUsersReference) + kStartupTail + kShortcutTail, false);
  item("tool folder", std::string(kProgramFilesReference) + kToolFolderTail, true);
  return traces;
}

}  // namespace kelvane::sim
