#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvane::platform {

// The temporary folder is emptied whole with an administrator's rights, so
// what may be emptied is decided once, here, for every machine.

// Whether a path names a folder below a drive or share root, in full:
// "X:\name..." or "\\server\share\name...". Refused: a drive or share root,
// a relative path, a "." or ".." segment (normalising "C:\Windows\.." gives
// "C:\"), and the "\\?\" and "\\.\" forms, which skip that normalisation and
// can name a device or a volume.
bool IsSweepablePath(std::string_view path);

// Whether a folder, by its final path (every link followed), may be emptied:
// a sweepable path that is neither one of the system's folders (the
// Windows folder, a Program Files folder, ProgramData, the profiles folder,
// any profile's own folder) nor a folder above one. Compared without regard
// to ASCII case; trailing backslashes do not count.
bool MayEmptyFolder(std::string_view finalPath, const std::vector<std::string>& systemFolders);

}  // namespace kelvane::platform
