#pragma once

#include <memory>
#include <string>

#include "platform/windows/file_handles.h"

namespace kelvane::platform::windows {

// An entry found by its path: the handle of the folder that holds it, open for
// listing, and the entry as that folder lists it. Everything done to the
// entry afterwards goes through that handle.
struct Listed {
  std::shared_ptr<UniqueHandle> folder;  // none for a volume or share root
  DirectoryEntry entry;
};

// Looks the path's last component up in its folder. Fails with "file not
// found" when the folder has no such entry, or with the error opening the
// folder gave.
Listed LookUp(const std::wstring& longPath);

// Opens an entry of an open folder, as the folder listed it, without
// following a link, and checks that it is still that entry. A link comes
// back (its facts say so) to be removed as a link. Fails with "cannot
// access" for an entry the listing called a link that opened as something
// else, or one the system reached through a link all the same (its handle's
// name is not the entry's: Wine shows a symbolic link to a file as a plain
// file, and deletes its target through its handle); with "file invalid" for
// one replaced since the listing. folderName is the folder's HandleName.
UniqueHandle OpenListedEntry(HANDLE folder, const std::wstring& folderName, const DirectoryEntry& entry,
                             ACCESS_MASK access, bool shareDelete, HandleFacts& facts);

// Opens a folder from its volume's root down, each folder relative to the
// one above it and never through a link: fails with "cannot access" where
// any folder on the way is a link (a junction, a symbolic link, a mount
// point) or no folder, and for a device path ("\\.\"). Unlike a path open,
// nothing an ordinary user made on the way can send it elsewhere.
UniqueHandle OpenFolderThroughNoLink(const std::wstring& longPath);

// "\a\b" and "c" give "\a\b\c"; the root "\" and "c" give "\c".
std::wstring ChildName(const std::wstring& folder, const std::wstring& name);

}  // namespace kelvane::platform::windows
