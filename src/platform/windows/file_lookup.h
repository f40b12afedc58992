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

}  // namespace kelvane::platform::windows
