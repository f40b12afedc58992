#pragma once

#include "platform/platform.h"

namespace kelvane::files {

// Deletes Office's shared folders, its Start-menu group, its cache folders and
// the user's templates, and writes the resume batch file. A failure while it
// sets up goes to the caller; after that every failing step is skipped.
void RemoveFiles(platform::Platform& platform);

// Where the installation caches are, and the ending that makes a folder there
// one of Office's.
inline constexpr const char* kCacheRoot = "C:\\MSOCache\\All Users";
inline constexpr const char* kCacheSuffix = "0FF1CE}-C";

// The batch file's two lines: run after the restart, it removes the Office14
// program folder. The reference stays unexpanded for the command interpreter.
inline constexpr const char* kBatchLine1 = "@echo off";
inline constexpr const char* kBatchLine2 = "rd /S /Q \"%programfiles%\\Microsoft Office\\Office14\\\"";

}  // namespace kelvane::files
