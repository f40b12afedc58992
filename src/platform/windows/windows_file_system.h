#pragma once

#include <memory>

#include "platform/interface/file_system.h"

namespace kelvane::platform::windows {

// The file-system object on the Win32 file API, with long paths.
std::unique_ptr<FileSystem> MakeFileSystem();

}  // namespace kelvane::platform::windows
