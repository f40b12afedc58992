#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace kelvane::platform::windows {

// A known folder's path as the system keeps it (SHGetKnownFolderPath), never
// what the environment says: a user's environment can point
// %ProgramFiles% anywhere, the known folders only an administrator can move.
// The Program Files folders follow the process's bitness, as %ProgramFiles%
// does. Fails with the system's error.
std::wstring KnownFolder(const KNOWNFOLDERID& folder);

}  // namespace kelvane::platform::windows
