#include "files/clean_up.h"

#include <optional>

#include "common/resume_state.h"
#include "platform/shared/progress.h"
#include "platform/shared/skip_if_fails.h"
#include "platform/shared/sweep_root.h"
#include "restart/resume_place.h"

namespace kelvane::files {

using platform::Require;
using platform::SkipIfFails;

namespace {

// A working path that could not be built: every operation on it is skipped,
// rather than reaching a relative path in whatever the current folder is.
const std::string& Built(const std::optional<std::string>& path) {
  if (!path) throw platform::Error(platform::kPathNotFound, "Path not found");
  return *path;
}

template <class Items>
void Sweep(platform::Platform& platform, const Items& items) {
  for (const auto& item : items) {
    SkipIfFails([&] { ShowProgress(platform.windows, "Removing " + item->Name()); });
    SkipIfFails([&] { item->Delete(true); });
  }
}

// The Startup shortcut, then the tool's own folder with its copy and the
// resume record: machine-wide, so with the administrator's rights.
void RemoveStartupTraces(const std::unique_ptr<platform::FileSystem>& fso, const std::unique_ptr<platform::Shell>& shell,
                         const std::optional<std::string>& startupFolder) {
  SkipIfFails([&] { Require(fso).DeleteFile(Built(startupFolder) + kShortcutTail); });
  SkipIfFails([&] { restart::ResumePlace(Require(shell)).Remove(Require(fso)); });
}

std::optional<std::string> StartupFolder(const std::unique_ptr<platform::Shell>& shell) {
  std::optional<std::string> folder;
  SkipIfFails([&] { folder = Require(shell).ExpandEnvironmentStrings(kAllUsersReference) + kStartupTail; });
  return folder;
}

}  // namespace

void CleanUp(platform::Platform& platform) {
  SkipIfFails([&] { ShowProgress(platform.windows, "Cleaning Up"); });
  std::unique_ptr<platform::FileSystem> fso;
  SkipIfFails([&] { fso = platform.objects.CreateFileSystem(); });
  std::unique_ptr<platform::Shell> shell;
  SkipIfFails([&] { shell = platform.objects.CreateShell(); });

  std::optional<std::string> tempPrefix;
  SkipIfFails([&] { tempPrefix = Require(shell).ExpandEnvironmentStrings(kTempReference) + "\\"; });
  const std::optional<std::string> startupFolder = StartupFolder(shell);

  // The temporary folder is the user's own: the user's rights delete in it,
  // so nothing planted there makes the tool delete what the user could not.
  if (const auto asUser = platform::TryImpersonateUser(platform.kernel)) {
    SkipIfFails([&] { Require(fso).DeleteFile(Built(tempPrefix) + kBatchFileName); });
  }
  RemoveStartupTraces(fso, shell, startupFolder);

  const auto asUser = platform::TryImpersonateUser(platform.kernel);
  if (!asUser) return;
  std::unique_ptr<platform::Folder> tempFolder;
  SkipIfFails([&] {
    // A drive root would have the sweep empty the whole drive; a relative
    // path (TEMP unset, or holding a reference never expanded) whatever the
    // current folder is, at log-on the system folder. The file system then
    // refuses a link and every folder that is not the user's own by where
    // the path leads.
    if (platform::IsSweepablePath(Built(tempPrefix))) tempFolder = Require(fso).GetFolderToEmpty(*tempPrefix);
  });
  std::vector<std::unique_ptr<platform::File>> files;
  SkipIfFails([&] { files = Require(tempFolder).Files(); });
  std::vector<std::unique_ptr<platform::Folder>> subFolders;
  SkipIfFails([&] { subFolders = Require(tempFolder).SubFolders(); });
  Sweep(platform, subFolders);
  Sweep(platform, files);
}

void RemoveStartup(platform::Platform& platform) {
  std::unique_ptr<platform::FileSystem> fso;
  SkipIfFails([&] { fso = platform.objects.CreateFileSystem(); });
  std::unique_ptr<platform::Shell> shell;
  SkipIfFails([&] { shell = platform.objects.CreateShell(); });
  RemoveStartupTraces(fso, shell, StartupFolder(shell));
}

}  // namespace kelvane::files
