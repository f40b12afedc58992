#include "files/restart_deletion.h"

#include <memory>
#include <vector>

#include "common/paths.h"
#include "common/resume_state.h"
#include "platform/shared/journal.h"
#include "platform/shared/skip_if_fails.h"

namespace kelvane::files {

using platform::SkipIfFails;

namespace {

// Whether a name on the path is "." or "..", which would lead out of a root.
bool HasDotSegment(std::string_view path) {
  std::size_t start = 0;
  while (start <= path.size()) {
    const auto end = std::min(path.find('\\', start), path.size());
    const auto name = path.substr(start, end - start);
    if (name == "." || name == "..") return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

RestartRoots RestartRoots::ProgramFiles(platform::Shell& shell, const std::vector<platform::EditionView>& editions) {
  std::vector<std::string> roots{shell.ExpandEnvironmentStrings(kProgramFilesReference),
                                 shell.ExpandEnvironmentStrings("%CommonProgramFiles%")};
  for (const platform::EditionView& view : editions) {
    if (view.registry == platform::RegistryView::Program) continue;
    roots.push_back(view.programFiles);
    roots.push_back(view.commonFiles);
  }
  return RestartRoots(std::move(roots));
}

bool RestartRoots::Hold(std::string_view path) const {
  if (HasDotSegment(path)) return false;
  for (std::string_view root : roots_) {
    while (!root.empty() && root.back() == '\\') root.remove_suffix(1);
    // A root that did not expand to a full path holds nothing.
    if (root.size() < 3 || root[1] != ':' || root.find('%') != std::string_view::npos) continue;
    if (path.size() > root.size() + 1 && path[root.size()] == '\\' && SamePath(path.substr(0, root.size()), root)) {
      return true;
    }
  }
  return false;
}

void DeleteAtRestart(platform::FileSystem& fso, const RestartRoots& roots, const std::string& path) {
  if (!roots.Hold(path)) {
    platform::Error refused(platform::kPermissionDenied, "Permission denied");
    refused.NameCall("DeleteAtRestart", path);
    throw refused;
  }
  fso.DeleteAtRestart(path);
  platform::Note(platform::kDeletedAtRestart, path);
}

void HandFolderToRestart(platform::FileSystem& fso, const RestartRoots& roots, const std::string& path) {
  std::unique_ptr<platform::Folder> folder;
  SkipIfFails([&] { folder = fso.GetFolder(path); });
  if (!folder) return;
  std::vector<std::unique_ptr<platform::File>> files;
  SkipIfFails([&] { files = folder->Files(); });
  for (const auto& file : files) SkipIfFails([&] { DeleteAtRestart(fso, roots, path + "\\" + file->Name()); });
  std::vector<std::unique_ptr<platform::Folder>> subFolders;
  SkipIfFails([&] { subFolders = folder->SubFolders(); });
  for (const auto& sub : subFolders) SkipIfFails([&] { HandFolderToRestart(fso, roots, path + "\\" + sub->Name()); });
  // Windows carries the deletions out in the order given: the folder is
  // empty by its turn.
  SkipIfFails([&] { DeleteAtRestart(fso, roots, path); });
}

void DeleteNowOrAtRestart(platform::FileSystem& fso, const RestartRoots& roots, platform::Folder& folder) {
  bool deleted = false;
  SkipIfFails([&] {
    folder.Delete(true);
    deleted = true;
  });
  if (!deleted) SkipIfFails([&] { HandFolderToRestart(fso, roots, folder.Path()); });
}

}  // namespace kelvane::files
