#pragma once

#include "platform/interface/kernel.h"

#include <string>
#include <string_view>
#include <vector>

#include "platform/interface/file_system.h"
#include "platform/interface/shell.h"
#include "platform/shared/journal.h"

namespace kelvane::files {

// The folders below which only administrators can change any folder on the
// way: the system's Program Files folders, and the tool's own folder in one.
// Windows deletes what it is handed at start-up as SYSTEM, through whatever
// links stand on the path by then, so nothing elsewhere is ever handed over
// (C:\MSOCache, say, which any user may have made and can change).
class RestartRoots {
 public:
  explicit RestartRoots(std::vector<std::string> roots) : roots_(std::move(roots)) {}
  // %ProgramFiles% and %CommonProgramFiles%, as the shell expands them (the
  // system's known folders on Windows), and the other edition view's on
  // 64-bit Windows. Fails as the expansion does.
  static RestartRoots ProgramFiles(platform::Shell& shell, const std::vector<platform::EditionView>& editions = {});
  // Whether the path lies strictly below one of them, with no "." or ".."
  // on the way.
  bool Hold(std::string_view path) const;

 private:
  std::vector<std::string> roots_;
};

// Hands the item to Windows, to be deleted when the machine next starts, and
// notes it in the run's journal. Fails as DeleteAtRestart does, and with
// "Permission denied" for a path the roots do not hold.
void DeleteAtRestart(platform::FileSystem& fso, const RestartRoots& roots, const std::string& path);

// Hands whatever is left of the folder to the next start, its contents before
// the folder itself, after a deletion that could not take it all (a file in
// use). A folder that is gone hands over nothing. Every failure is skipped.
void HandFolderToRestart(platform::FileSystem& fso, const RestartRoots& roots, const std::string& path);

// Deletes the folder with force now; whatever of it stays (a file in use) is
// handed to the next start. Every failure is skipped.
void DeleteNowOrAtRestart(platform::FileSystem& fso, const RestartRoots& roots, platform::Folder& folder);

}  // namespace kelvane::files
