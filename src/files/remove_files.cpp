#include "files/remove_files.h"

#include <string>
#include <vector>

#include "common/office_product_code.h"
#include "common/resume_state.h"
#include "common/text.h"
#include "installer/another_office.h"
#include "platform/skip.h"

namespace kelvane::files {

using platform::FileSystem;
using platform::Require;
using platform::SkipIfFails;

namespace {

// Looks the folder up and deletes it with force. A lookup that fails leaves
// nothing to delete; the variable is never one of an earlier step.
template <class Path>
void DeleteFolder(FileSystem& fso, Path&& path) {
  std::unique_ptr<platform::Folder> folder;
  SkipIfFails([&] { folder = fso.GetFolder(path()); });
  SkipIfFails([&] { Require(folder).Delete(true); });
}

void RemoveFolder(platform::Platform& platform, FileSystem& fso, const std::string& progress,
                  const std::string& path) {
  SkipIfFails([&] { ShowProgress(platform.windows, progress); });
  DeleteFolder(fso, [&] { return path; });
}

void RemoveFile(platform::Platform& platform, FileSystem& fso, const std::string& path) {
  SkipIfFails([&] { ShowProgress(platform.windows, "Removing: " + path); });
  std::unique_ptr<platform::File> file;
  SkipIfFails([&] { file = fso.GetFile(path); });
  SkipIfFails([&] { Require(file).Delete(true); });
}

void WriteBatchFile(FileSystem& fso, const std::string& path) {
  std::unique_ptr<platform::TextStream> stream;
  SkipIfFails([&] { stream = fso.OpenTextFile(path, platform::kForWriting, true); });
  SkipIfFails([&] { Require(stream).WriteLine(kBatchLine1); });
  SkipIfFails([&] { Require(stream).WriteLine(kBatchLine2); });
  SkipIfFails([&] { Require(stream).Close(); });
}

// Deletes every cache folder whose path ends in the Office signature.
void SweepCaches(platform::Platform& platform, FileSystem& fso) {
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
    DeleteFolder(fso, [&] { return cache->Path(); });
  }
}

}  // namespace

bool IsOffice2010Cache(std::string_view path) { return EndsWith(path, kCacheSuffix) && !BelongsToAnotherOffice(path); }

void RemoveFiles(platform::Platform& platform) {
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
    RemoveFolder(platform, files, "Removing " + sharedPrefix + name, sharedPrefix + name);
  }
  RemoveFolder(platform, files, "Removing " + startMenuGroup, startMenuGroup);
  WriteBatchFile(files, tempPrefix + kBatchFileName);
  SweepCaches(platform, files);
  for (const std::string& path : templates) RemoveFile(platform, files, path);
}

}  // namespace kelvane::files
