#include "files/restart_deletion.h"

#include <memory>
#include <vector>

#include "platform/shared/journal.h"
#include "platform/shared/skip_if_fails.h"

namespace kelvane::files {

using platform::SkipIfFails;

void DeleteAtRestart(platform::FileSystem& fso, const std::string& path) {
  fso.DeleteAtRestart(path);
  platform::Note(platform::kDeletedAtRestart, path);
}

void HandFolderToRestart(platform::FileSystem& fso, const std::string& path) {
  std::unique_ptr<platform::Folder> folder;
  SkipIfFails([&] { folder = fso.GetFolder(path); });
  if (!folder) return;
  std::vector<std::unique_ptr<platform::File>> files;
  SkipIfFails([&] { files = folder->Files(); });
  for (const auto& file : files) SkipIfFails([&] { DeleteAtRestart(fso, path + "\\" + file->Name()); });
  std::vector<std::unique_ptr<platform::Folder>> subFolders;
  SkipIfFails([&] { subFolders = folder->SubFolders(); });
  for (const auto& sub : subFolders) SkipIfFails([&] { HandFolderToRestart(fso, path + "\\" + sub->Name()); });
  // Windows carries the deletions out in the order given: the folder is
  // empty by its turn.
  SkipIfFails([&] { DeleteAtRestart(fso, path); });
}

void DeleteNowOrAtRestart(platform::FileSystem& fso, platform::Folder& folder) {
  bool deleted = false;
  SkipIfFails([&] {
    folder.Delete(true);
    deleted = true;
  });
  if (!deleted) SkipIfFails([&] { HandFolderToRestart(fso, folder.Path()); });
}

}  // namespace kelvane::files
