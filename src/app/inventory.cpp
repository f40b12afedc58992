#include "app/inventory.h"

#include <optional>
#include <set>

#include "app/exit_codes.h"
#include "common/ascii_case.h"
#include "common/resume_state.h"
#include "common/text.h"
#include "files/kept_key_paths.h"
#include "files/remove_files.h"
#include "installer/another_office.h"
#include "installer/scrub_installer_records.h"
#include "installer/uninstall_msis.h"
#include "platform/shared/collapse_separators.h"
#include "platform/shared/edition_views.h"
#include "platform/shared/error_box.h"
#include "platform/shared/skip_if_fails.h"
#include "registry/registry_plan.h"
#include "registry/value_references.h"
#include "registry/view_providers.h"

namespace kelvane::app {

using platform::Require;
using platform::SkipIfFails;

namespace {

class Inventory {
 public:
  explicit Inventory(platform::Platform& platform)
      : platform_(platform),
        shell_(platform.objects.CreateShell()),
        fso_(platform.objects.CreateFileSystem()),
        providers_(platform.objects),
        editions(platform::MachineEditionViews(platform.kernel, &editionsKnown_)) {
    Require(shell_);
    Require(fso_);
    // Only the program's own view could be looked at: what the other may
    // hold is not known to be gone.
    if (!editionsKnown_) Add("views", "not read: only the program's own was looked at");
  }

  std::string Expand(std::string_view reference) { return shell_->ExpandEnvironmentStrings(std::string(reference)); }

  // A folder around a kept product's key path is a trace only while
  // something the plan would remove remains in it.
  void Folder(const char* kind, const std::string& path) {
    SkipIfFails([&] {
      const auto folder = fso_->GetFolder(path);
      const std::string found = folder->Path();
      if (kept_.empty() || !kept_.HoldsKept(found) || HoldsRemovable(*folder)) Add(kind, found);
    });
  }

  void KeepKeyPaths(files::KeptKeyPaths kept) { kept_ = std::move(kept); }

  // A file by its folder's path and its own name, as the disk spells them.
  void File(const char* kind, const std::string& path) {
    SkipIfFails([&] {
      if (!fso_->FileExists(path)) return;
      const auto cut = path.rfind('\\');
      Add(kind, fso_->GetFolder(path.substr(0, cut))->Path() + "\\" + fso_->GetFile(path)->Name());
    });
  }

  void Caches(const std::string& root) {
    std::vector<std::unique_ptr<platform::Folder>> caches;
    SkipIfFails([&] { caches = fso_->GetFolder(root)->SubFolders(); });
    for (const auto& cache : caches) {
      SkipIfFails([&] {
        if (files::IsOffice2010Cache(cache->Name())) Add("folder", cache->Path());
      });
    }
  }

  // With anotherOffice, the Source Engine service's key is another Office's
  // too. Each step in the view it removes from.
  void Keys(bool anotherOffice) {
    std::optional<std::vector<std::string>> names;
    for (const registry::FixedKey& fixed : registry::kFixedKeys) {
      if (fixed.keyPath == registry::kSourceEngineServiceKey && anotherOffice) continue;
      if (fixed.root == platform::kCurrentUser && !usersOwn) continue;
      for (const platform::EditionView& view : registry::ViewsOf(fixed, editions)) {
        SkipIfFails([&] {
          if (providers_.In(view.registry).EnumKey(fixed.root, std::string(fixed.keyPath), names) == 0) {
            AddKey("key", platform::KeyNameInView(view, platform::CollapseSeparators(fixed.FullName())));
          }
        });
      }
    }
    for (const registry::EnumerationStep& step : registry::kEnumerationPlan) {
      if (step.root == platform::kCurrentUser && !usersOwn) continue;
      for (const platform::EditionView& view : registry::ViewsOf(step, editions)) {
        names.reset();
        SkipIfFails([&] { providers_.In(view.registry).EnumKey(step.root, std::string(step.parentPath), names); });
        if (!names) continue;
        const std::string parent = platform::KeyNameInView(view, FullKeyName(step.root, step.parentPath));
        for (const auto& name : *names) {
          if (step.Matches(name)) AddKey("key", parent + "\\" + name);
        }
      }
    }
    for (const registry::ReferenceStep& step : registry::kReferencePlan) {
      References("upgrade code", step.root, std::string(step.parentPath), registry::ReferenceStep::Names);
    }
  }

  // The Installer's component records that still name an Office 2010
  // product: one trace per component key, walked once.
  void Components() {
    References("component", platform::kLocalMachine, files::kComponentRecords, installer::IsOffice2010ComponentValue);
  }

  void Products() {
    std::vector<std::unique_ptr<platform::Product>> products;
    SkipIfFails([&] {
      products = platform_.objects.GetProductServices(installer::ProductServicesMoniker("."))
                     ->ExecQuery(installer::kProductQuery);
    });
    for (const auto& product : products) {
      if (installer::IsOffice2010Product(*product)) SkipIfFails([&] { Add("product", product->Name()); });
    }
  }

  std::vector<std::string> Lines() && { return std::move(lines_); }

  bool usersOwn = true;

 private:
  bool HoldsRemovable(platform::Folder& folder) {
    const std::string path = folder.Path();
    for (const auto& file : folder.Files()) {
      if (!kept_.Keeps(path + "\\" + file->Name())) return true;
    }
    for (const auto& sub : folder.SubFolders()) {
      if (!kept_.HoldsKept(sub->Path()) || HoldsRemovable(*sub)) return true;
    }
    return false;
  }

  void Add(const char* kind, const std::string& name) { lines_.push_back(std::string(kind) + "\t" + name); }

  // A key is one trace however many steps reach it: three steps walk the
  // Uninstall key, and Windows spells a key's name in any case.
  void AddKey(const char* kind, const std::string& name) {
    if (listedKeys_.insert(name).second) Add(kind, name);
  }


  static std::string FullKeyName(std::uint32_t root, std::string_view path) {
    return platform::CollapseSeparators(std::string(registry::RootName(root)) + "\\" + std::string(path));
  }

  // A key several products share that still lists one of Office 2010's.
  void References(const char* kind, std::uint32_t root, const std::string& parent, const registry::ValueNameRule& rule) {
    SkipIfFails([&] {
      registry::ForEachReferencingKey(providers_.In(platform::RegistryView::Native), root, parent, rule,
                                      [&](const std::string& key, const std::vector<std::string>&) {
                                        AddKey(kind, FullKeyName(root, key));
                                      });
    });
  }

  platform::Platform& platform_;
  std::unique_ptr<platform::Shell> shell_;
  std::unique_ptr<platform::FileSystem> fso_;
  std::vector<std::string> lines_;
  std::set<std::string, LessIgnoringAsciiCase> listedKeys_;
  registry::ViewProviders providers_;
  files::KeptKeyPaths kept_;
  bool editionsKnown_ = false;

 public:
  const std::vector<platform::EditionView> editions;
};

}  // namespace

std::vector<std::string> FindTraces(platform::Platform& platform, bool usersOwn) {
  Inventory found(platform);
  found.usersOwn = usersOwn;
  // The Source Engine service is another Office's too while one is installed.
  const bool anotherOffice = installer::AnotherOfficeInstalled(platform);
  found.KeepKeyPaths(files::KeptKeyPaths::Find(platform));
  // The file plan, the program folder the resumed run removes included.
  for (const files::FileStep& step : files::kFilePlan) {
    if ((step.keptWhileAnotherOffice && anotherOffice) || (step.owner == files::Owner::User && !usersOwn)) continue;
    for (const std::string& path :
         step.PathsIn(found.editions, [&](std::string_view reference) { return found.Expand(reference); })) {
      switch (step.kind) {
        case files::StepKind::Folder: found.Folder("folder", path); break;
        case files::StepKind::File: found.File("file", path); break;
        case files::StepKind::Caches: found.Caches(path); break;
      }
    }
  }
  // The registry plan itself, then the products.
  found.Keys(anotherOffice);
  found.Components();
  found.Products();
  // What the tool leaves for its resumed run.
  if (usersOwn) found.File("batch file", found.Expand(kTempReference) + "\\" + kBatchFileName);
  found.File("shortcut", found.Expand(kAllUsersReference) + kStartupTail + kShortcutTail);
  found.Folder("tool folder", found.Expand(kProgramFilesReference) + kToolFolderTail);
  return std::move(found).Lines();
}

std::string TraceText(const std::string& trace) {
  std::string text = trace;
  return text.replace(text.find('\t'), 1, ": ");
}

std::string_view TraceName(const std::string& trace) { return std::string_view(trace).substr(trace.find('\t') + 1); }

int CheckTraces(platform::Platform& platform) {
  try {
    const auto traces = FindTraces(platform);
    for (const std::string& trace : traces) {
      platform::Note("trace", TraceText(trace));
      platform.kernel.WriteStandardOutputLine(TraceText(trace));
    }
    return traces.empty() ? kExitDone : kExitTracesRemain;
  } catch (const platform::Error& error) {
    platform::Note("error", platform::ErrorNumberText(error) + " " + error.description());
    return kExitFailed;
  }
}

}  // namespace kelvane::app
