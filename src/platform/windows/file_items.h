#pragma once

#include <memory>
#include <string>

#include "platform/interface/file_system.h"
#include "platform/windows/file_lookup.h"

namespace kelvane::platform::windows {

// A folder or file object for an entry as its folder listed it; longPath is
// its path as the caller named it, for its name and path only.
std::unique_ptr<Folder> MakeFolder(Listed listed, std::wstring longPath);
std::unique_ptr<File> MakeFile(Listed listed, std::wstring longPath);
// A folder listed through a handle the caller opened (and checked) already.
std::unique_ptr<Folder> MakeOpenFolder(UniqueHandle listing, std::wstring longPath);

}  // namespace kelvane::platform::windows
