#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/windows/file_handles.h"

namespace kelvane::platform::windows {

// Deletes an entry of an open folder, as that folder listed it: a file, or a
// folder with everything in it, depth-first. Every entry is opened relative
// to its folder's handle without following a reparse point and deleted
// through its own handle, so renaming or swapping anything during the walk
// cannot lead it out of the tree. A junction or symbolic link is removed as a
// link; an entry the listing called a link is never entered, and one whose
// file ID is no longer the listed one is left alone. Deletes everything it
// can, then fails with the first failure.
void DeleteEntry(HANDLE folder, const DirectoryEntry& entry, bool force);

// The same for a path: its last component is never followed.
void DeleteFolderTree(const std::wstring& longPath, bool force);

// Called with each entry's name between its folder's listing and its opening,
// for tests that change the tree at that moment.
void SetBeforeOpenHookForTests(std::function<void(const std::wstring& name)> hook);

}  // namespace kelvane::platform::windows
