#pragma once

#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane::platform {

// The known folders the sweep never empties, nor any folder above one. The
// temporary folder is emptied whole, so what may be emptied is decided once,
// here, for every machine: each machine only says where each of these lies
// on it (nowhere, once, or in several places).
enum class SweepKnownFolder {
  // The user's data in the user's own profile.
  Desktop, Documents, Downloads, Pictures, Music, Videos, RoamingAppData, LocalAppData,
  // The system's own places: the Windows folder, the Program Files folders
  // and their common files in each view, ProgramData, the profiles root, the
  // public and default profiles, and every profile's own folder.
  Windows, ProgramFiles, ProgramFilesX86, ProgramFilesX64, CommonFiles, CommonFilesX86, CommonFilesX64, ProgramData,
  Profiles, PublicProfile, DefaultProfile, EveryProfile,
};
inline constexpr SweepKnownFolder kSweepKnownFolders[] = {
    SweepKnownFolder::Desktop,         SweepKnownFolder::Documents,      SweepKnownFolder::Downloads,
    SweepKnownFolder::Pictures,        SweepKnownFolder::Music,          SweepKnownFolder::Videos,
    SweepKnownFolder::RoamingAppData,  SweepKnownFolder::LocalAppData,   SweepKnownFolder::Windows,
    SweepKnownFolder::ProgramFiles,    SweepKnownFolder::ProgramFilesX86, SweepKnownFolder::ProgramFilesX64,
    SweepKnownFolder::CommonFiles,     SweepKnownFolder::CommonFilesX86, SweepKnownFolder::CommonFilesX64,
    SweepKnownFolder::ProgramData,     SweepKnownFolder::Profiles,       SweepKnownFolder::PublicProfile,
    SweepKnownFolder::DefaultProfile,  SweepKnownFolder::EveryProfile,
};
static_assert(std::size(kSweepKnownFolders) == static_cast<std::size_t>(SweepKnownFolder::EveryProfile) + 1);

// Where the places of the sweep's rule are on one machine.
struct SweepRoles {
  // The user's own profile folder, from the user's token (never from the
  // environment, which the user sets).
  std::string profile;
  // Where the known folders lie.
  std::vector<std::string> knownFolders;
  // The drives on local fixed volumes, "C:" and the like: never a network
  // share or a removable drive.
  std::vector<std::string> fixedDrives;
};

// The roles from where the machine keeps each known folder.
using KnownFolderPlaces = std::function<std::vector<std::string>(SweepKnownFolder)>;
SweepRoles SweepRolesFrom(std::string profile, const KnownFolderPlaces& placesOf, std::vector<std::string> fixedDrives);

// A folder the sweep was asked to empty, as its machine found it: where it
// really is (every link on the way followed), and whether it is itself a
// link, which the sweep never empties whatever it points to.
struct FolderToEmpty {
  std::string finalPath;
  bool isLink = false;
};

// Whether a path names a folder below a drive or share root, in full:
// "X:\name..." or "\\server\share\name...". Refused: a drive or share root,
// a relative path, a "." or ".." segment (normalising "C:\Windows\.." gives
// "C:\"), and the "\\?\" and "\\.\" forms, which skip that normalisation and
// can name a device or a volume.
bool IsSweepablePath(std::string_view path);

// Whether a folder may be emptied: not a link, and by its final path a
// sweepable path on one of the fixed drives that lies strictly below the
// user's own profile, and is neither a known folder of the roles nor a
// folder above one. Compared without regard to ASCII case; trailing
// backslashes do not count.
bool MayEmptyFolder(const FolderToEmpty& folder, const SweepRoles& roles);

}  // namespace kelvane::platform
