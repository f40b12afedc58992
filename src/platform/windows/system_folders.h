#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kelvane::platform::windows {

// The folders of the system and of its users that are never emptied whole:
// the Windows folder, the Program Files and common files folders,
// ProgramData, the profiles folder and every profile's own folder, as the
// registry and the environment name them.
std::vector<std::string> SystemFolders();

// Where an open file or folder really is, every link on the way followed,
// as people write it ("C:\...", "\\server\share\...").
std::string FinalPath(HANDLE handle);

}  // namespace kelvane::platform::windows
