#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/interface/kernel.h"

#include "platform/shared/sweep_root.h"

namespace kelvane::platform::windows {

// Where the sweep's roles are on this machine, from the system alone, never
// from the environment: the profile of the token the calling thread acts
// with (its SID's entry in the profile list), that profile's known folders,
// the system's folders (known folders, the machine's registry, every profile
// in the profile list) and the fixed drives.
SweepRoles MachineSweepRoles();

// The machine's edition views, the 32-bit one first: on 64-bit Windows the
// 32-bit view's folders from the known folders, the native one's from
// ProgramW6432Dir and CommonW6432Dir in the native view of HKLM (where those
// are missing, ProgramFilesDir and CommonFilesDir there).
std::vector<EditionView> SystemEditionViews();

// Where an open file or folder really is, every link on the way followed,
// as people write it ("C:\...", "\\server\share\...").
std::string FinalPath(HANDLE handle);

}  // namespace kelvane::platform::windows
