#include "platform/windows/system_folders.h"

#include "platform/windows/handles.h"
#include "platform/windows/long_path.h"
#include "platform/windows/text.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

constexpr const wchar_t* kCurrentVersion = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const wchar_t* kProfileList = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

// A string value under HKLM, expanded; empty when it is not there.
std::wstring MachineValue(const wchar_t* key, const wchar_t* name) {
  DWORD size = 0;
  const DWORD types = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key, name, types, nullptr, nullptr, &size) != ERROR_SUCCESS) return {};
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key, name, types, nullptr, value.data(), &size) != ERROR_SUCCESS) return {};
  value.resize(wcsnlen(value.c_str(), value.size()));
  return value;
}

std::wstring EnvironmentValue(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), size));
  return value;
}

void Add(std::vector<std::string>& folders, const std::wstring& folder) {
  if (!folder.empty()) folders.push_back(Narrow(folder));
}

}  // namespace

std::vector<std::string> SystemFolders() {
  std::vector<std::string> folders;
  wchar_t windows[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  if (length > 0 && length < MAX_PATH) Add(folders, windows);
  for (const wchar_t* name : {L"ProgramFilesDir", L"ProgramFilesDir (x86)", L"ProgramW6432Dir", L"CommonFilesDir",
                              L"CommonFilesDir (x86)", L"CommonW6432Dir"}) {
    Add(folders, MachineValue(kCurrentVersion, name));
  }
  for (const wchar_t* name : {L"ProfilesDirectory", L"ProgramData", L"Public", L"Default"}) {
    Add(folders, MachineValue(kProfileList, name));
  }
  // The environment as well: a value the registry lacks still counts.
  for (const wchar_t* name : {L"SystemRoot", L"windir", L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432",
                              L"ProgramData", L"ALLUSERSPROFILE", L"PUBLIC", L"USERPROFILE"}) {
    Add(folders, EnvironmentValue(name));
  }
  UniqueRegistryKey profiles;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProfileList, 0, KEY_READ, profiles.put()) == ERROR_SUCCESS) {
    wchar_t sid[256];
    for (DWORD index = 0;; ++index) {
      DWORD sidLength = 256;
      if (RegEnumKeyExW(profiles.get(), index, sid, &sidLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      Add(folders, MachineValue((std::wstring(kProfileList) + L"\\" + sid).c_str(), L"ProfileImagePath"));
    }
  }
  return folders;
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
