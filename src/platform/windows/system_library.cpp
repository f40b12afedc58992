#include "platform/windows/system_library.h"

#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

// A folder the system names with a Get...DirectoryW call, whole.
std::wstring SystemNamedFolder(UINT(WINAPI* get)(LPWSTR, UINT)) {
  std::wstring folder(MAX_PATH, L'\0');
  for (;;) {
    const UINT length = get(folder.data(), static_cast<UINT>(folder.size()));
    if (length == 0) throw LastWin32Error();
    const bool fits = length < folder.size();
    folder.resize(length);
    if (fits) return folder;
  }
}

}  // namespace

std::wstring SystemFolder() { return SystemNamedFolder(GetSystemDirectoryW); }

std::wstring WindowsFolder() { return SystemNamedFolder(GetSystemWindowsDirectoryW); }

FARPROC SystemProcedure(const wchar_t* dll, const char* name) {
  HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
    // A system without the search flags (Windows 7 before KB2533623): the
    // full path is just as safe.
    module = LoadLibraryW((SystemFolder() + L"\\" + dll).c_str());
  }
  if (!module) throw LastWin32Error();
  const FARPROC procedure = GetProcAddress(module, name);
  if (!procedure) throw LastWin32Error();
  return procedure;
}

std::wstring SystemProgram(const std::wstring& name) {
  const std::wstring folder = SystemFolder();
  std::wstring found(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        SearchPathW(folder.c_str(), name.c_str(), L".exe", static_cast<DWORD>(found.size()), found.data(), nullptr);
    if (length == 0) throw LastWin32Error();
    if (length < found.size()) {
      found.resize(length);
      return found;
    }
    found.resize(length);
  }
}

BOOL ShellExecuteFromSystem(SHELLEXECUTEINFOW* info) {
  static const auto execute = SystemFunction<decltype(ShellExecuteExW)>(L"shell32.dll", "ShellExecuteExW");
  return execute(info);
}

void RestrictDllSearchToSystemFolder() {
  using SetDefaultDirectories = BOOL WINAPI(DWORD);
  // Looked up rather than imported: Windows 7 without KB2533623 lacks it,
  // and an import would keep the tool from starting there.
  const auto setDefault = reinterpret_cast<SetDefaultDirectories*>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  SetDllDirectoryW(L"");  // at least the current folder leaves the search
}

}  // namespace kelvane::platform::windows
