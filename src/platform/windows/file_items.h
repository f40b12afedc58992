#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace kelvane::platform::windows {

// A folder or file object for an item known to exist at the path.
std::unique_ptr<Folder> MakeFolder(std::wstring longPath);
std::unique_ptr<File> MakeFile(std::wstring longPath);

}  // namespace kelvane::platform::windows
