#include "files/remove_files.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/office_product_code.h"
#include "common/resume_state.h"
#include "common/text.h"
#include "files/kept_key_paths.h"
#include "files/restart_deletion.h"
#include "installer/another_office.h"
#include "platform/shared/edition_views.h"
#include "platform/shared/progress.h"
#include "platform/shared/skip_if_fails.h"

namespace kelvane::files {

using platform::FileSystem;
using platform::Require;
using platform::SkipIfFails;

namespace {

// handOver: where what is in use may be handed to the next restart; none, it stays.
void DeleteWhole(FileSystem& fso, platform::Folder& folder, const RestartRoots* handOver) {
  if (handOver) {
    DeleteNowOrAtRestart(fso, *handOver, folder);
  } else {
    SkipIfFails([&] { folder.Delete(true); });
  }
}

// A folder that holds a kept product's key path: everything in it not on the
// way to one goes whole, the folders on the way are entered, the kept files
// and the folders that hold them stay.
void DeleteAround(FileSystem& fso, platform::Folder& folder, const KeptKeyPaths& kept, const RestartRoots* handOver) {
  std::string path;
  SkipIfFails([&] { path = folder.Path(); });
  if (path.empty()) return;
  std::vector<std::unique_ptr<platform::File>> files;
  SkipIfFails([&] { files = folder.Files(); });
  for (const auto& file : files) {
    std::string filePath;
    SkipIfFails([&] { filePath = path + "\\" + file->Name(); });
    if (filePath.empty() || kept.Keeps(filePath)) continue;
    bool deleted = false;
    SkipIfFails([&] {
      file->Delete(true);
      deleted = true;
    });
    if (!deleted && handOver) SkipIfFails([&] { DeleteAtRestart(fso, *handOver, filePath); });
  }
  std::vector<std::unique_ptr<platform::Folder>> subFolders;
  SkipIfFails([&] { subFolders = folder.SubFolders(); });
  for (const auto& sub : subFolders) {
    bool onTheWay = true;
    SkipIfFails([&] { onTheWay = kept.HoldsKept(sub->Path()); });
    if (onTheWay) {
      DeleteAround(fso, *sub, kept, handOver);
    } else {
      DeleteWhole(fso, *sub, handOver);
    }
  }
}

// Looks the folder up and deletes it with force. A lookup that fails leaves
// nothing to delete; the variable is never one of an earlier step. What is in
// use stays, or goes at the next restart when the removal says so.
template <class Path>
void DeleteFolder(FileSystem& fso, Path&& path, const RestartRoots* handOver, const KeptKeyPaths& kept) {
  std::unique_ptr<platform::Folder> folder;
  SkipIfFails([&] { folder = fso.GetFolder(path()); });
  if (!folder) return;
  bool holdsKept = false;
  if (!kept.empty()) SkipIfFails([&] { holdsKept = kept.HoldsKept(folder->Path()); });
  if (holdsKept) {
    DeleteAround(fso, *folder, kept, handOver);
  } else {
    DeleteWhole(fso, *folder, handOver);
  }
}

// A file of the user's own is deleted with the user's own rights, and never
// handed to the restart.
void RemoveFile(platform::Platform& platform, FileSystem& fso, const FileStep& step, const std::string& path) {
  SkipIfFails([&] { ShowProgress(platform.windows, step.ProgressText(path)); });
  std::unique_ptr<platform::Impersonation> asUser;
  if (step.owner == Owner::User && !(asUser = platform::TryImpersonateUser(platform.kernel))) return;
  std::unique_ptr<platform::File> file;
  SkipIfFails([&] { file = fso.GetFile(path); });
  SkipIfFails([&] { Require(file).Delete(true); });
}

// Written in the user's own temporary folder, with the user's own rights.
void WriteBatchFile(platform::Platform& platform, FileSystem& fso, const std::string& path) {
  const auto asUser = platform::TryImpersonateUser(platform.kernel);
  if (!asUser) return;
  std::unique_ptr<platform::TextStream> stream;
  SkipIfFails([&] { stream = fso.OpenTextFile(path, platform::kForWriting, true); });
  SkipIfFails([&] { Require(stream).WriteLine(kBatchLine1); });
  SkipIfFails([&] { Require(stream).WriteLine(kBatchLine2); });
  SkipIfFails([&] { Require(stream).Close(); });
}

// Deletes every cache folder below the step's path that IsOffice2010Cache takes.
void SweepCaches(platform::Platform& platform, FileSystem& fso, const FileStep& step, const RestartRoots* handOver) {
  const std::string rootPath(step.tail);
  std::unique_ptr<platform::Folder> root;
  SkipIfFails([&] { root = fso.GetFolder(rootPath); });
  std::vector<std::unique_ptr<platform::Folder>> caches;
  SkipIfFails([&] { caches = Require(root).SubFolders(); });
  for (const auto& cache : caches) {
    bool qualifies = false;
    SkipIfFails([&] { qualifies = IsOffice2010Cache(cache->Path()); });
    if (!qualifies) continue;
    SkipIfFails([&] { ShowProgress(platform.windows, step.ProgressText(rootPath + "\\" + cache->Name())); });
    DeleteFolder(fso, [&] { return cache->Path(); }, handOver, KeptKeyPaths());
  }
}

}  // namespace

bool IsOffice2010Cache(std::string_view path) { return EndsWith(path, kCacheSuffix) && !BelongsToAnotherOffice(path); }

void RemoveFiles(platform::Platform& platform, const FileRemoval& how) {
  // Set-up: a failure here ends the phase before anything is deleted.
  const auto shell = platform.objects.CreateShell();
  const auto fso = platform.objects.CreateFileSystem();
  std::map<std::string_view, std::string> expanded;
  const auto expand = [&](std::string_view reference) -> const std::string& {
    auto found = expanded.find(reference);
    if (found == expanded.end()) {
      found = expanded.emplace(reference, Require(shell).ExpandEnvironmentStrings(std::string(reference))).first;
    }
    return found->second;
  };
  const std::vector<platform::EditionView> editions = platform::MachineEditionViews(platform.kernel);
  std::vector<std::vector<std::string>> paths;
  for (const FileStep& step : kFilePlan) {
    paths.push_back(step.runs == Runs::FilePhase ? step.PathsIn(editions, expand) : std::vector<std::string>());
  }
  const std::string tempPrefix = expand(kTempReference) + "\\";
  FileSystem& files = Require(fso);
  const KeptKeyPaths kept = KeptKeyPaths::Find(platform);
  std::optional<RestartRoots> roots;
  if (how.handInUseToRestart) roots = RestartRoots::ProgramFiles(Require(shell), editions);

  bool batchFileWritten = !how.writeBatchFile;
  // Asked once, when the first step it keeps comes: after the uninstall
  // phase, as for the Source Engine service.
  std::optional<bool> anotherOffice;
  for (std::size_t i = 0; i < kFilePlan.size(); ++i) {
    const FileStep& step = kFilePlan[i];
    if (step.runs != Runs::FilePhase || (step.owner == Owner::User && !how.usersOwn)) continue;
    if (step.keptWhileAnotherOffice) {
      if (!anotherOffice) anotherOffice = installer::AnotherOfficeInstalled(platform);
      if (*anotherOffice) continue;
    }
    const RestartRoots* handInUse = roots && step.HandedToRestartInUse() ? &*roots : nullptr;
    switch (step.kind) {
      case StepKind::Folder:
        for (const std::string& path : paths[i]) {
          SkipIfFails([&] { ShowProgress(platform.windows, step.ProgressText(path)); });
          DeleteFolder(files, [&] { return path; }, handInUse, kept);
        }
        break;
      case StepKind::Caches:
        if (!batchFileWritten) WriteBatchFile(platform, files, tempPrefix + kBatchFileName);
        batchFileWritten = true;
        SweepCaches(platform, files, step, handInUse);
        break;
      case StepKind::File:
        for (const std::string& path : paths[i]) RemoveFile(platform, files, step, path);
        break;
    }
  }
  if (!batchFileWritten) WriteBatchFile(platform, files, tempPrefix + kBatchFileName);
}

void RemoveProgramFolder(platform::Platform& platform, const FileRemoval& how) {
  std::unique_ptr<platform::Shell> shell;
  SkipIfFails([&] { shell = platform.objects.CreateShell(); });
  std::unique_ptr<FileSystem> fso;
  SkipIfFails([&] { fso = platform.objects.CreateFileSystem(); });
  if (!fso) return;
  const KeptKeyPaths kept = KeptKeyPaths::Find(platform);
  std::optional<RestartRoots> roots;
  const std::vector<platform::EditionView> editions = platform::MachineEditionViews(platform.kernel);
  if (how.handInUseToRestart) SkipIfFails([&] { roots = RestartRoots::ProgramFiles(Require(shell), editions); });
  for (const FileStep& step : kFilePlan) {
    if (step.runs != Runs::ProgramFolder) continue;
    for (const platform::EditionView& view : editions) {
      if (view.registry != platform::RegistryView::Program && !step.InEachEditionView()) continue;
      // Expanded only when its turn comes: a failed expansion skips that view alone.
      const auto path = [&] {
        const auto expand = [&](std::string_view reference) {
          return Require(shell).ExpandEnvironmentStrings(std::string(reference));
        };
        return step.PathsIn({view}, expand).at(0);
      };
      DeleteFolder(*fso, path, roots && step.HandedToRestartInUse() ? &*roots : nullptr, kept);
    }
  }
}

}  // namespace kelvane::files
