#pragma once

#include <string>

namespace kelvane::platform::windows {

// Deletes a folder with everything in it, depth-first. A junction or symbolic
// link is removed as a link and nothing behind it is touched. With force,
// read-only, hidden and system attributes are cleared first; without it a
// read-only item stays. Deletes everything it can, then fails with the first
// failure.
void DeleteFolderTree(const std::wstring& longPath, bool force);

// Deletes one file (or a file's symbolic link), clearing its attributes first
// when forced.
void DeleteOneFile(const std::wstring& longPath, bool force);

}  // namespace kelvane::platform::windows
