#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/windows/handles.h"

namespace kelvane::platform::windows {

// An entry as its folder's listing gave it.
struct DirectoryEntry {
  std::wstring name;
  DWORD attributes;
  std::int64_t fileId;
  bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  // A junction, a symbolic link or another reparse point: never entered.
  bool IsLink() const { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
};

// What an open handle says about the file or folder it holds.
struct HandleFacts {
  DWORD attributes;
  DWORD reparseTag;
  std::int64_t fileId;
  DWORD links;
  bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  bool IsLink() const { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || reparseTag != 0; }
};

// Access for listing a folder, and for taking an entry apart.
inline constexpr ACCESS_MASK kListAccess = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
inline constexpr ACCESS_MASK kDeleteFileAccess = DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE;
inline constexpr ACCESS_MASK kDeleteFolderAccess = kDeleteFileAccess | FILE_LIST_DIRECTORY;

// Opens a folder by path for listing. Links on the way are followed, as the
// path names them; what is inside is then reached only through the handle.
UniqueHandle OpenFolderForListing(const std::wstring& longPath);

// Opens an entry of an open folder by its name, without following a reparse
// point. No FILE_SHARE_DELETE unless asked: while the handle is open nobody
// can rename or replace what it holds.
UniqueHandle OpenInFolder(HANDLE folder, const std::wstring& name, ACCESS_MASK access, bool shareDelete,
                          bool ignoreCase);

// Makes a new file in an open folder by its name (fails with "file exists"
// when anything stands there), never through a reparse point.
UniqueHandle CreateInFolder(HANDLE folder, const std::wstring& name, ACCESS_MASK access);

// Every entry of an open folder except "." and "..", in the file system's order.
std::vector<DirectoryEntry> ListFolder(HANDLE folder);

// The entry of that name (without regard to case) in a folder handle that has
// not been listed yet; false when there is none.
bool FindInFolder(HANDLE freshFolder, const std::wstring& name, DirectoryEntry& entry);

HandleFacts QueryFacts(HANDLE handle);

// The path, without its volume, that the system keeps for an open handle
// ("\Users\Demo\x.txt"): the name it was opened by, on Windows a link's own.
std::wstring HandleName(HANDLE handle);

// Deletes what the handle holds; a folder must be empty. With force a
// deletion refused for the read-only bit clears it through the handle and
// tries again; the bit is put back when the deletion still fails, or when the
// file keeps other names (hard links share it).
void DeleteThroughHandle(HANDLE handle, bool force);

}  // namespace kelvane::platform::windows
