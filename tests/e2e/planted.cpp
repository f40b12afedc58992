// A stand-in an attacker leaves beside the tool or in its current folder
// under a system name (msi.dll, msimg32.dll, net.exe, shutdown.exe). Built
// as a DLL, loading it is enough; built as a program, starting it. Either
// way it leaves C:\planted-markers\<its file name>.txt, which no run may.
#include <windows.h>

namespace {

void LeaveMarker(HMODULE self) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
  const wchar_t* name = path;
  for (DWORD i = 0; i < length; ++i) {
    if (path[i] == L'\\') name = path + i + 1;
  }
  CreateDirectoryW(L"C:\\planted-markers", nullptr);
  wchar_t marker[MAX_PATH + 32];
  wsprintfW(marker, L"C:\\planted-markers\\%s.txt", name);
  const HANDLE file = CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
  return TRUE;
}

int wmain() {
  LeaveMarker(nullptr);
  return 0;
}
