#include "files/clean_up.h"

#include <optional>

#include "common/resume_state.h"
#include "platform/skip.h"
#include "platform/sweep_root.h"

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

}  // namespace

void CleanUp(platform::Platform& platform) {
  SkipIfFails([&] { ShowProgress(platform.windows, "Cleaning Up"); });
  std::unique_ptr<platform::FileSystem> fso;
  SkipIfFails([&] { fso = platform.objects.CreateFileSystem(); });
  std::unique_ptr<platform::Shell> shell;
  SkipIfFails([&] { shell = platform.objects.CreateShell(); });

  std::optional<std::string> tempPrefix;
  SkipIfFails([&] { tempPrefix = Require(shell).ExpandEnvironmentStrings(kTempReference) + "\\"; });
  std::optional<std::string> startupFolder;
  SkipIfFails([&] { startupFolder = Require(shell).ExpandEnvironmentStrings(kAllUsersReference) + kStartupTail; });

  SkipIfFails([&] { Require(fso).DeleteFile(Built(tempPrefix) + kBatchFileName); });
  SkipIfFails([&] { Require(fso).DeleteFile(Built(startupFolder) + kShortcutTail); });

  std::unique_ptr<platform::Folder> tempFolder;
  SkipIfFails([&] {
    // A drive root would have the sweep empty the whole drive; a relative
    // path (TEMP unset, or holding a reference never expanded) whatever the
    // current folder is, at log-on the system folder. The file system then
    // refuses a link and the system's own folders by where the path leads.
    if (platform::IsSweepablePath(Built(tempPrefix))) tempFolder = Require(fso).GetFolderToEmpty(*tempPrefix);
  });
  std::vector<std::unique_ptr<platform::File>> files;
  SkipIfFails([&] { files = Require(tempFolder).Files(); });
  std::vector<std::unique_ptr<platform::Folder>> subFolders;
  SkipIfFails([&] { subFolders = Require(tempFolder).SubFolders(); });
  Sweep(platform, subFolders);
  Sweep(platform, files);
}

}  // namespace kelvane::files
