#include "platform/windows/directory_listing.h"

#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

std::vector<DirectoryEntry> ListDirectory(const std::wstring& longPath) {
  WIN32_FIND_DATAW data;
  const std::wstring pattern = longPath + (longPath.back() == L'\\' ? L"*" : L"\\*");
  HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_FILES) return {};
    throw ErrorFromWin32(code);
  }
  std::vector<DirectoryEntry> entries;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") entries.push_back({name, data.dwFileAttributes});
  } while (FindNextFileW(search, &data));
  const DWORD code = GetLastError();
  FindClose(search);
  if (code != ERROR_NO_MORE_FILES) throw ErrorFromWin32(code);
  return entries;
}

}  // namespace kelvane::platform::windows
