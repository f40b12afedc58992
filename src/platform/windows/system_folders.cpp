#include "platform/windows/system_folders.h"

#include <vector>

#include "platform/shared/environment_references.h"
#include "platform/windows/environment.h"
#include "platform/windows/handles.h"
#include "platform/windows/known_folders.h"
#include "platform/windows/long_path.h"
#include "platform/windows/system_library.h"
#include "platform/windows/text.h"
#include "platform/windows/token.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

constexpr const wchar_t* kCurrentVersion = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const wchar_t* kProfileList = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

// A string value under HKLM, which only administrators write; empty when it
// is not there. "%SystemDrive%\Users" and the like are expanded with the
// system's values, not the environment's.
std::wstring MachineValue(const std::wstring& key, const wchar_t* name) {
  DWORD size = 0;
  const DWORD types = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, types, nullptr, nullptr, &size) != ERROR_SUCCESS) return {};
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, types, nullptr, value.data(), &size) != ERROR_SUCCESS) return {};
  value.resize(wcsnlen(value.c_str(), value.size()));
  return Widen(ExpandReferences(Narrow(value), SystemRootValue));
}

// The same in the native view, which a 32-bit process reaches only by
// asking for it.
std::wstring NativeMachineValue(const wchar_t* key, const wchar_t* name) {
  UniqueRegistryKey opened;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, opened.put()) != ERROR_SUCCESS) {
    return {};
  }
  DWORD size = 0;
  const DWORD types = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  if (RegGetValueW(opened.get(), nullptr, name, types, nullptr, nullptr, &size) != ERROR_SUCCESS) return {};
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (RegGetValueW(opened.get(), nullptr, name, types, nullptr, value.data(), &size) != ERROR_SUCCESS) return {};
  value.resize(wcsnlen(value.c_str(), value.size()));
  return Widen(ExpandReferences(Narrow(value), SystemRootValue));
}

bool OnSixtyFourBitWindows() {
  if (sizeof(void*) == 8) return true;
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

std::wstring ProfileOf(const std::wstring& sid) {
  return MachineValue(std::wstring(kProfileList) + L"\\" + sid, L"ProfileImagePath");
}

// The profile of the token's user; both halves of a split token are one user.
std::wstring UserProfile() {
  const UniqueHandle token = OpenEffectiveToken(TOKEN_QUERY);
  const auto user = ReadTokenInformation(token.get(), TokenUser);
  return ProfileOf(SidText(TokenRecord<TOKEN_USER>(user).User.Sid));
}

// A known folder the system may lack (no 32-bit Program Files on 32-bit
// Windows): then there is nothing of it to protect.
std::string KnownOrNone(const KNOWNFOLDERID& folder) {
  try {
    return Narrow(KnownFolder(folder));
  } catch (const Error&) {
    return {};
  }
}

// Where the system keeps a known folder: the known folder itself, and the
// machine's registry entry of it, where a 32-bit process on 64-bit Windows
// finds the 64-bit folders.
std::vector<std::string> Places(const KNOWNFOLDERID& folder, const wchar_t* key, const wchar_t* name) {
  return {KnownOrNone(folder), Narrow(MachineValue(key, name))};
}

// Every profile the profile list names.
std::vector<std::string> ProfileListFolders() {
  std::vector<std::string> folders;
  UniqueRegistryKey profiles;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProfileList, 0, KEY_READ, profiles.put()) == ERROR_SUCCESS) {
    wchar_t sid[256];
    for (DWORD index = 0;; ++index) {
      DWORD sidLength = 256;
      if (RegEnumKeyExW(profiles.get(), index, sid, &sidLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      folders.push_back(Narrow(ProfileOf(sid)));
    }
  }
  return folders;
}

std::vector<std::string> KnownFolderPlaces(SweepKnownFolder known) {
  using enum SweepKnownFolder;
  switch (known) {
    case Desktop: return {KnownOrNone(FOLDERID_Desktop)};
    case Documents: return {KnownOrNone(FOLDERID_Documents)};
    case Downloads: return {KnownOrNone(FOLDERID_Downloads)};
    case Pictures: return {KnownOrNone(FOLDERID_Pictures)};
    case Music: return {KnownOrNone(FOLDERID_Music)};
    case Videos: return {KnownOrNone(FOLDERID_Videos)};
    case RoamingAppData: return {KnownOrNone(FOLDERID_RoamingAppData)};
    case LocalAppData: return {KnownOrNone(FOLDERID_LocalAppData)};
    case Windows: return {Narrow(WindowsFolder())};
    case ProgramFiles: return Places(FOLDERID_ProgramFiles, kCurrentVersion, L"ProgramFilesDir");
    case ProgramFilesX86: return Places(FOLDERID_ProgramFilesX86, kCurrentVersion, L"ProgramFilesDir (x86)");
    case ProgramFilesX64: return Places(FOLDERID_ProgramFilesX64, kCurrentVersion, L"ProgramW6432Dir");
    case CommonFiles: return Places(FOLDERID_ProgramFilesCommon, kCurrentVersion, L"CommonFilesDir");
    case CommonFilesX86: return Places(FOLDERID_ProgramFilesCommonX86, kCurrentVersion, L"CommonFilesDir (x86)");
    case CommonFilesX64: return Places(FOLDERID_ProgramFilesCommonX64, kCurrentVersion, L"CommonW6432Dir");
    case ProgramData: return Places(FOLDERID_ProgramData, kProfileList, L"ProgramData");
    case Profiles: return Places(FOLDERID_UserProfiles, kProfileList, L"ProfilesDirectory");
    case PublicProfile: return Places(FOLDERID_Public, kProfileList, L"Public");
    case DefaultProfile: return {Narrow(MachineValue(kProfileList, L"Default"))};
    case EveryProfile: return ProfileListFolders();
  }
  return {};
}

std::vector<std::string> FixedDrives() {
  std::wstring drives(128, L'\0');
  for (;;) {
    const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(drives.size()), drives.data());
    if (length == 0) throw LastWin32Error();
    const bool fits = length < drives.size();
    drives.resize(length);
    if (fits) break;
  }
  std::vector<std::string> fixed;
  for (std::size_t at = 0; at < drives.size(); at = drives.find(L'\0', at) + 1) {
    const std::wstring root = drives.c_str() + at;  // "C:\"
    if (GetDriveTypeW(root.c_str()) == DRIVE_FIXED) fixed.push_back(Narrow(root.substr(0, 2)));
  }
  return fixed;
}

}  // namespace

std::vector<EditionView> SystemEditionViews() {
  const bool own64 = sizeof(void*) == 8;
  if (!OnSixtyFourBitWindows()) {
    return {{RegistryView::Program, Narrow(KnownFolder(FOLDERID_ProgramFiles)),
             Narrow(KnownFolder(FOLDERID_ProgramFilesCommon)), false}};
  }
  EditionView thirtyTwo{own64 ? RegistryView::Bits32 : RegistryView::Program,
                        Narrow(KnownFolder(FOLDERID_ProgramFilesX86)), Narrow(KnownFolder(FOLDERID_ProgramFilesCommonX86)),
                        true};
  // The native folders as the system records them for every program: the
  // known folders of the 64-bit ones cannot be asked for from a 32-bit one.
  // Where the W6432 names are missing (Wine), the native view's own names
  // are the native folders.
  const auto nativeFolder = [](const wchar_t* name, const wchar_t* nativeViewName) {
    std::wstring value = NativeMachineValue(kCurrentVersion, name);
    return value.empty() ? NativeMachineValue(kCurrentVersion, nativeViewName) : value;
  };
  const std::wstring programFiles = nativeFolder(L"ProgramW6432Dir", L"ProgramFilesDir");
  const std::wstring commonFiles = nativeFolder(L"CommonW6432Dir", L"CommonFilesDir");
  if (programFiles.empty() || commonFiles.empty()) throw Error(kPathNotFound, "Path not found");
  EditionView native{own64 ? RegistryView::Program : RegistryView::Native, Narrow(programFiles), Narrow(commonFiles),
                     false};
  return {thirtyTwo, native};
}

SweepRoles MachineSweepRoles() {
  return SweepRolesFrom(Narrow(UserProfile()), KnownFolderPlaces, FixedDrives());
}

std::string FinalPath(HANDLE handle) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) throw LastWin32Error();
    if (length < path.size()) {
      path.resize(length);
      return DisplayPath(path);
    }
    path.resize(length);
  }
}

}  // namespace kelvane::platform::windows
