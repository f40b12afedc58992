#include "installer/scrub_installer_records.h"

#include <map>
#include <memory>
#include <optional>
#include <set>

#include "common/ascii_case.h"
#include "common/office_product_code.h"
#include "common/text.h"
#include "installer/uninstall_msis.h"
#include "platform/shared/installer_wait.h"
#include "platform/shared/journal.h"
#include "platform/shared/skip_if_fails.h"
#include "registry/delete_subkeys.h"
#include "registry/registry_plan.h"
#include "registry/value_references.h"
#include "restart/resume_place.h"

namespace kelvane::installer {

using platform::kLocalMachine;
using platform::Require;
using platform::SkipIfFails;

namespace {

struct Counts {
  int componentValues = 0;
  int descriptors = 0;
  int patches = 0;
  int cachedFiles = 0;
};

struct Scrubbed {
  std::string braced;
  std::string name;
  std::optional<long> status;
  std::optional<std::string> localPackage;
  Counts counts;
};

std::string UserData(std::string_view tail) { return std::string(kInstallerUserData) + "\\" + std::string(tail); }
std::string Classes(std::string_view tail) { return std::string(kInstallerClasses) + "\\" + std::string(tail); }

class Scrub {
 public:
  explicit Scrub(platform::Platform& platform) : platform_(platform) {
    SkipIfFails([&] {
      registry_ = platform.objects.GetRegistryProvider(registry::RegistryProviderMoniker("."),
                                                       platform::RegistryView::Native);
    });
    SkipIfFails([&] { fso_ = platform.objects.CreateFileSystem(); });
    SkipIfFails([&] { services_ = platform.objects.GetProductServices(ProductServicesMoniker(".")); });
    SkipIfFails([&] {
      const auto shell = platform.objects.CreateShell();
      journalFolder_ = restart::ResumePlace(Require(shell)).folder() + std::string(kScrubJournalFolder);
    });
    SkipIfFails([&] { installerFolder_ = Require(fso_).InstallerFolder(); });
  }

  void Run(const std::vector<UninstallResult>& results) {
    // The records are the Installer's own: never while it writes them.
    bool idle = false;
    SkipIfFails([&] { idle = platform::InstallerIdle(platform_.kernel, kScrubInstallerWaitMilliseconds); });
    if (!idle) {
      platform::Note(kScrubbedNote, "nothing: another installation is in progress");
      return;
    }
    Choose(results);
    // Component values an earlier run or a broken removal left, named by an
    // Office 2010 product that is gone, go even when no product needs the
    // whole scrub.
    if (products_.empty()) return SkipIfFails([&] { RemoveComponentValues(); });
    WriteJournal();
    DecidePatches();
    ReadLocalPackages();
    for (auto& [packed, product] : products_) {
      SkipIfFails([&] { DeleteTree(Classes("Products\\" + packed)); });
      SkipIfFails([&] { DeleteTree(Classes("Features\\" + packed)); });
    }
    SkipIfFails([&] { RemoveComponentValues(); });
    for (const char* parent : {"Components", "Assemblies", "Win32Assemblies"}) RemovePublishedDescriptors(Classes(parent));
    RemovePatches();
    for (auto& [packed, product] : products_) {
      RemoveCachedFiles(packed, product);
      SkipIfFails([&] { DeleteTree(UserData("Products\\" + packed)); });
      SkipIfFails([&] { Require(fso_).DeleteFile(journalFolder_ + "\\" + packed); });
      platform::Note(kScrubbedNote, Line(product));
    }
    // The journal goes once no entry is left in it: an entry that could not
    // be deleted is a product the next run still has to finish.
    bool finished = false;
    SkipIfFails([&] {
      const auto journal = Require(fso_).GetFolder(journalFolder_);
      if (!Require(journal).Files().empty()) return;
      journal->Delete(true);
      finished = true;
    });
    // The tool's folder goes with it when nothing else is in it (an
    // unattended run leaves nothing there; a windowed one its copy and record).
    if (!finished) return;
    SkipIfFails([&] {
      const auto folder = Require(fso_).GetFolder(ToolFolder());
      if (Require(folder).Files().empty() && folder->SubFolders().empty()) folder->Delete(true);
    });
  }

 private:
  // The products to scrub: the Installer's failures whose records it left,
  // the Office 2010 products an earlier run left in its records, and an
  // earlier scrub's journal; never a product the Installer stands by.
  void Choose(const std::vector<UninstallResult>& results) {
    for (const UninstallResult& result : results) {
      const std::string packed = PackedProductCode(result.productCode);
      if (packed.empty() || !BelongsToOffice2010(packed)) continue;
      const Verdict verdict = Judge(result.status, RecordsRemain(packed));
      if (verdict == Verdict::Scrub) {
        products_[packed] = {BracedProductCode(packed), result.name, result.status, std::nullopt, {}};
      } else if (verdict != Verdict::Removed) {
        // A product the Installer removed is no longer its to stand by: what
        // it left of it is an orphan like any other.
        standing_.insert(packed);
      }
    }
    std::vector<std::string> candidates;
    SkipIfFails([&] {
      std::optional<std::vector<std::string>> names;
      Require(registry_).EnumKey(kLocalMachine, UserData("Products"), names);
      if (names) candidates = std::move(*names);
    });
    if (!journalFolder_.empty() && FolderExists(journalFolder_)) {
      SkipIfFails([&] {
        for (const auto& file : Require(Require(fso_).GetFolder(journalFolder_)).Files()) candidates.push_back(file->Name());
      });
    }
    for (const std::string& name : candidates) {
      const std::string packed = PackedProductCode(BracedProductCode(name));
      if (packed.empty() || !IsOffice2010ProductRecord(packed) || standing_.count(packed) || products_.count(packed)) continue;
      products_[packed] = {BracedProductCode(packed), DisplayName(packed), std::nullopt, std::nullopt, {}};
    }
  }

  std::string ToolFolder() const { return journalFolder_.substr(0, journalFolder_.size() - kScrubJournalFolder.size()); }

  bool RecordsRemain(const std::string& packed) {
    bool remain = false;
    SkipIfFails([&] {
      std::optional<std::vector<std::string>> names;
      remain = Require(registry_).EnumKey(kLocalMachine, UserData("Products\\" + packed), names) == 0;
    });
    return remain;
  }

  std::string DisplayName(const std::string& packed) {
    std::optional<std::string> name;
    SkipIfFails([&] {
      Require(registry_).GetStringValue(kLocalMachine, UserData("Products\\" + packed + "\\InstallProperties"),
                                        "DisplayName", name);
    });
    return name.value_or(BracedProductCode(packed));
  }

  // Written before anything is deleted, so that a run stopped halfway is
  // finished by the next one even after the product's keys went.
  void WriteJournal() {
    SkipIfFails([&] {
      auto& fso = Require(fso_);
      fso.CreateFolder(ToolFolder());
      fso.CreateFolder(journalFolder_);
      for (const auto& [packed, product] : products_) {
        SkipIfFails([&] { Require(fso.OpenTextFile(journalFolder_ + "\\" + packed, platform::kForWriting, true)).Close(); });
      }
    });
  }

  // Decided once, before anything goes: a patch stays when any product
  // outside the set lists it.
  void DecidePatches() {
    std::map<std::string, std::set<std::string>, LessIgnoringAsciiCase> listedBy;
    bool listed = false;
    SkipIfFails([&] {
      for (const auto& patch : Require(services_).EnumPatches()) {
        listedBy[PackedProductCode(patch.patchCode)].insert(PackedProductCode(patch.productCode));
      }
      listed = true;
    });
    if (!listed) return;  // without the whole picture no patch is known to be only ours
    for (const auto& [patch, products] : listedBy) {
      if (patch.empty()) continue;
      bool ours = true;
      for (const auto& product : products) ours = ours && products_.count(product) > 0;
      if (!ours) continue;
      patches_[patch] = std::nullopt;
      for (const auto& product : products) ++products_[product].counts.patches;
    }
  }

  // The cached packages are named only in the keys that go.
  void ReadLocalPackages() {
    for (auto& [packed, product] : products_) {
      SkipIfFails([&] {
        Require(registry_).GetStringValue(kLocalMachine, UserData("Products\\" + packed + "\\InstallProperties"),
                                          "LocalPackage", product.localPackage);
      });
    }
    for (auto& [patch, localPackage] : patches_) {
      SkipIfFails([&] {
        Require(registry_).GetStringValue(kLocalMachine, UserData("Patches\\" + patch), "LocalPackage", localPackage);
      });
    }
  }

  // The values named by the products of the set, and those an earlier run
  // left, by signature; never a value of a product the Installer stands by.
  void RemoveComponentValues() {
    auto& registry = Require(registry_);
    registry::ForEachReferencingKey(
        registry, kLocalMachine, UserData("Components"),
        [&](const std::string& value) {
          return IsOffice2010ComponentValue(value) && !standing_.count(value) && !StillListed(value);
        },
        [&](const std::string& key, const std::vector<std::string>& values) {
          for (const std::string& value : registry::DeleteValuesThenEmptyKey(registry, kLocalMachine, key, values)) {
            const auto product = products_.find(value);
            if (product != products_.end()) ++product->second.counts.componentValues;
          }
        });
  }

  // Whether the Installer still lists the product: its component values are
  // its own until it goes. Where the products cannot be listed, only the
  // set's own values go.
  bool StillListed(const std::string& packed) {
    if (!listed_) {
      listed_.emplace();
      bool complete = false;
      SkipIfFails([&] {
        for (const auto& product : Require(services_).ExecQuery(kProductQuery)) {
          listed_->insert(PackedProductCode(product->ProductCode()));
        }
        complete = true;
      });
      listingComplete_ = complete;
    }
    if (products_.count(packed)) return false;
    return !listingComplete_ || listed_->count(packed) > 0;
  }

  // Each value is a list of descriptors that may come from several
  // products: only those of a scrubbed product go.
  void RemovePublishedDescriptors(const std::string& parent) {
    std::optional<std::vector<std::string>> keys;
    SkipIfFails([&] { Require(registry_).EnumKey(kLocalMachine, parent, keys); });
    if (!keys) return;
    for (const std::string& name : *keys) {
      const std::string key = parent + "\\" + name;
      std::optional<std::vector<std::string>> values;
      SkipIfFails([&] { Require(registry_).EnumValues(kLocalMachine, key, values); });
      if (!values) continue;
      bool changed = false;
      for (const std::string& value : *values) {
        std::optional<std::vector<std::string>> descriptors;
        SkipIfFails([&] { Require(registry_).GetMultiStringValue(kLocalMachine, key, value, descriptors); });
        if (!descriptors) continue;
        std::vector<std::string> kept;
        std::vector<Scrubbed*> owners;
        for (const std::string& descriptor : *descriptors) {
          Scrubbed* owner = nullptr;
          SkipIfFails([&] {
            const auto product = products_.find(PackedProductCode(Require(services_).DecomposeDescriptor(descriptor)));
            if (product != products_.end()) owner = &product->second;
          });
          if (owner) {
            owners.push_back(owner);
          } else {
            kept.push_back(descriptor);
          }
        }
        if (owners.empty()) continue;
        SkipIfFails([&] {
          const long status = kept.empty() ? Require(registry_).DeleteValue(kLocalMachine, key, value)
                                           : Require(registry_).SetMultiStringValue(kLocalMachine, key, value, kept);
          if (status != 0) return;
          changed = true;
          for (Scrubbed* owner : owners) ++owner->counts.descriptors;
        });
      }
      if (changed) registry::DeleteKeyIfEmpty(Require(registry_), kLocalMachine, key);
    }
  }

  void RemovePatches() {
    for (const auto& [patch, localPackage] : patches_) {
      SkipIfFails([&] { DeleteTree(UserData("Patches\\" + patch)); });
      SkipIfFails([&] { DeleteTree(Classes("Patches\\" + patch)); });
      if (localPackage) DeleteCache(*localPackage);
    }
  }

  void RemoveCachedFiles(const std::string& packed, Scrubbed& product) {
    if (product.localPackage && DeleteCache(*product.localPackage)) ++product.counts.cachedFiles;
    for (const std::string& folder :
         {installerFolder_ + "\\$PatchCache$\\Managed\\" + packed, installerFolder_ + "\\" + product.braced}) {
      if (FolderExists(folder) && DeleteCache(folder)) ++product.counts.cachedFiles;
    }
  }

  // Only what lies in the system's Installer folder; the deleter checks the
  // final path again, through the handle.
  bool DeleteCache(const std::string& path) {
    if (installerFolder_.empty() || !BeginsIgnoringAsciiCase(path, installerFolder_ + "\\")) return false;
    bool deleted = false;
    SkipIfFails([&] {
      Require(fso_).DeleteInstallerCache(path);
      deleted = true;
    });
    return deleted;
  }

  void DeleteTree(const std::string& key) { registry::DeleteSubkeys(Require(registry_), platform_.windows, kLocalMachine, key); }

  // Whether a folder is there, asked without noting its absence as a failure.
  bool FolderExists(const std::string& path) {
    try {
      return Require(fso_).GetFolder(path) != nullptr;
    } catch (const platform::Error&) {
      return false;
    }
  }

  static std::string Line(const Scrubbed& product) {
    return product.name + ": status " + (product.status ? std::to_string(*product.status) : std::string("unknown")) +
           ", " + std::to_string(product.counts.componentValues) + " component values, " +
           std::to_string(product.counts.descriptors) + " published descriptors, " +
           std::to_string(product.counts.patches) + " patches, " + std::to_string(product.counts.cachedFiles) +
           " cached files";
  }

  platform::Platform& platform_;
  std::unique_ptr<platform::RegistryProvider> registry_;
  std::unique_ptr<platform::FileSystem> fso_;
  std::unique_ptr<platform::ProductServices> services_;
  std::string journalFolder_;
  std::string installerFolder_;
  std::map<std::string, Scrubbed, LessIgnoringAsciiCase> products_;  // by packed code
  std::set<std::string, LessIgnoringAsciiCase> standing_;
  std::optional<std::set<std::string, LessIgnoringAsciiCase>> listed_;  // what the Installer still lists, by packed code
  bool listingComplete_ = false;           // the Installer stands by them: never scrubbed
  std::map<std::string, std::optional<std::string>, LessIgnoringAsciiCase> patches_;  // packed code, its cached .msp
};

}  // namespace

bool IsOffice2010ComponentValue(std::string_view valueName) { return IsPackedOffice2010Code(valueName); }

bool IsOffice2010ProductRecord(std::string_view packedCode) { return IsOffice2010ComponentValue(packedCode); }

void ScrubInstallerRecords(platform::Platform& platform, const std::vector<UninstallResult>& results) {
  Scrub(platform).Run(results);
}

}  // namespace kelvane::installer
