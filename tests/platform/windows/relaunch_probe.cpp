// Started by the elevation test as the tool starts itself again: writes the
// folder it was started in to %TEMP%\kelvane-relaunch-probe.txt, in UTF-16.
#include <windows.h>

int wmain() {
  wchar_t folder[MAX_PATH] = {}, marker[MAX_PATH] = {};
  const DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
  if (!ExpandEnvironmentStringsW(L"%TEMP%\\kelvane-relaunch-probe.txt", marker, MAX_PATH)) return 1;
  HANDLE file = CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, folder, length * sizeof(wchar_t), &written, nullptr);
  CloseHandle(file);
  return 0;
}
