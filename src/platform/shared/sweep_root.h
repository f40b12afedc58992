#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvane::platform {

// The temporary folder is emptied whole, so what may be emptied is decided
// once, here, for every machine: each machine only says where the places of
// these roles are on it.
struct SweepRoles {
  // The user's own profile folder, from the user's token (never from the
  // environment, which the user sets).
  std::string profile;
  // The known folders of that profile that hold the user's data: Desktop,
  // Documents, Downloads, Pictures, Music, Videos, and AppData (roaming and
  // local).
  std::vector<std::string> profileFolders;
  // The system's own places: the Windows folder, the Program Files folders
  // and their common files, ProgramData, the profiles root, and every
  // profile's own folder (the public and default ones included).
  std::vector<std::string> systemFolders;
  // The drives on local fixed volumes, "C:" and the like: never a network
  // share or a removable drive.
  std::vector<std::string> fixedDrives;
};

// Whether a path names a folder below a drive or share root, in full:
// "X:\name..." or "\\server\share\name...". Refused: a drive or share root,
// a relative path, a "." or ".." segment (normalising "C:\Windows\.." gives
// "C:\"), and the "\\?\" and "\\.\" forms, which skip that normalisation and
// can name a device or a volume.
bool IsSweepablePath(std::string_view path);

// Whether a folder, by its final path (every link followed), may be emptied:
// a sweepable path on one of the fixed drives that lies strictly below the
// user's own profile, and is neither a profile or system folder of the roles
// nor a folder above one. Compared without regard to ASCII case; trailing
// backslashes do not count.
bool MayEmptyFolder(std::string_view finalPath, const SweepRoles& roles);

}  // namespace kelvane::platform
