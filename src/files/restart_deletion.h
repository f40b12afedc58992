#pragma once

#include <string>

#include "platform/interface/file_system.h"
#include "platform/shared/journal.h"

namespace kelvane::files {

// Hands the item to Windows, to be deleted when the machine next starts, and
// notes it in the run's journal. Fails as DeleteAtRestart does.
void DeleteAtRestart(platform::FileSystem& fso, const std::string& path);

// Hands whatever is left of the folder to the next start, its contents before
// the folder itself, after a deletion that could not take it all (a file in
// use). A folder that is gone hands over nothing. Every failure is skipped.
void HandFolderToRestart(platform::FileSystem& fso, const std::string& path);

// Deletes the folder with force now; whatever of it stays (a file in use) is
// handed to the next start. Every failure is skipped.
void DeleteNowOrAtRestart(platform::FileSystem& fso, platform::Folder& folder);

}  // namespace kelvane::files
