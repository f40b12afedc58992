#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kelvane::platform::windows {

struct DirectoryEntry {
  std::wstring name;
  DWORD attributes;
  bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  // A junction, a symbolic link or another reparse point: never entered.
  bool IsLink() const { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
};

// The entries directly in a folder, in the file system's order, without
// "." and "..". Fails when the folder cannot be listed.
std::vector<DirectoryEntry> ListDirectory(const std::wstring& longPath);

}  // namespace kelvane::platform::windows
