#include "files/remove_files.h"

#include <string>
#include <vector>

#include "common/office_product_code.h"
#include "common/resume_state.h"
#include "common/text.h"
#include "files/restart_deletion.h"
#include "installer/another_office.h"
#include "platform/shared/progress.h"
#include "platform/shared/skip_if_fails.h"

namespace kelvane::files {

using platform::FileSystem;
using platform::Require;
using platform::SkipIfFails;

namespace {

// Looks the folder up and deletes it with force. A lookup that fails leaves
// nothing to delete; the variable is never one of an earlier step. What is in
// use stays, or goes at the next restart when the removal says so.
template <class Path>
void DeleteFolder(FileSystem& fso, Path&& path, const FileRemoval& how) {
  std::unique_ptr<platform::Folder> folder;
  SkipIfFails([&] { folder = fso.GetFolder(path()); });
  if (folder && how.handInUseToRestart) {
    DeleteNowOrAtRestart(fso, *folder);
  } else {
    SkipIfFails([&] { Require(folder).Delete(true); });
  }
}

void RemoveFolder(platform::Platform& platform, FileSystem& fso, const std::string& progress,
                  const std::string& path, const FileRemoval& how) {
  SkipIfFails([&] { ShowProgress(platform.windows, progress); });
  DeleteFolder(fso, [&] { return path; }, how);
}

// A template of the user's own: deleted with the user's own rights.
// Never handed to the restart: the system deletes at start-up as SYSTEM and
// would follow a link the user planted on the way in the meantime.
void RemoveTemplate(platform::Platform& platform, FileSystem& fso, const std::string& path) {
  SkipIfFails([&] { ShowProgress(platform.windows, "Removing: " + path); });
  const auto asUser = platform::TryImpersonateUser(platform.kernel);
  if (!asUser) return;
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

// Deletes every cache folder whose path ends in the Office signature.
void SweepCaches(platform::Platform& platform, FileSystem& fso, const FileRemoval& how) {
  std::unique_ptr<platform::Folder> root;
  SkipIfFails([&] { root = fso.GetFolder(kCacheRoot); });
  std::vector<std::unique_ptr<platform::Folder>> caches;
  SkipIfFails([&] { caches = Require(root).SubFolders(); });
  for (const auto& cache : caches) {
    bool qualifies = false;
    SkipIfFails([&] { qualifies = IsOffice2010Cache(cache->Path()); });
    if (!qualifies) continue;
    SkipIfFails([&] {
      ShowProgress(platform.windows, std::string("Removing: ") + kCacheRoot + "\\" + cache->Name());
    });
    DeleteFolder(fso, [&] { return cache->Path(); }, how);
  }
}

}  // namespace

bool IsOffice2010Cache(std::string_view path) { return EndsWith(path, kCacheSuffix) && !BelongsToAnotherOffice(path); }

void RemoveFiles(platform::Platform& platform, const FileRemoval& how) {
  // Set-up: a failure here ends the phase before anything is deleted.
  const auto shell = platform.objects.CreateShell();
  const auto fso = platform.objects.CreateFileSystem();
  const auto expand = [&](const char* reference) { return Require(shell).ExpandEnvironmentStrings(reference); };
  const std::string sharedPrefix = expand(kCommonFilesReference) + kSharedTail;
  std::vector<std::string> templates;
  for (const char* tail : kTemplateTails) templates.push_back(expand(kAppDataReference) + tail);
  const std::string startMenuGroup = expand(kStartMenuReference) + kStartMenuGroupTail;
  const std::string tempPrefix = expand(kTempReference) + "\\";
  FileSystem& files = Require(fso);

  for (const char* name : kSharedFolders) {
    if (name == std::string_view(kSourceEngineFolder) && installer::AnotherOfficeInstalled(platform)) continue;
    RemoveFolder(platform, files, "Removing " + sharedPrefix + name, sharedPrefix + name, how);
  }
  RemoveFolder(platform, files, "Removing " + startMenuGroup, startMenuGroup, how);
  if (how.writeBatchFile) WriteBatchFile(platform, files, tempPrefix + kBatchFileName);
  SweepCaches(platform, files, how);
  for (const std::string& path : templates) RemoveTemplate(platform, files, path);
}

void RemoveProgramFolder(platform::Platform& platform, const FileRemoval& how) {
  std::unique_ptr<platform::Shell> shell;
  SkipIfFails([&] { shell = platform.objects.CreateShell(); });
  std::unique_ptr<FileSystem> fso;
  SkipIfFails([&] { fso = platform.objects.CreateFileSystem(); });
  if (fso) DeleteFolder(*fso, [&] { return Require(shell).ExpandEnvironmentStrings(kProgramFolder); }, how);
}

}  // namespace kelvane::files
