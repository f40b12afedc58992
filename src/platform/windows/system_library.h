#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace kelvane::platform::windows {

// Loads a DLL from the system folder only, never from the executable's folder
// (the user's Downloads, where anything can be planted) or the current one,
// and finds one of its functions. The DLL stays loaded. Fails with the
// loader's error when either is missing.
FARPROC SystemProcedure(const wchar_t* dll, const char* name);

// The same, typed: SystemFunction<decltype(MsiEnumProductsW)>(L"msi.dll", "MsiEnumProductsW").
template <class Function>
Function* SystemFunction(const wchar_t* dll, const char* name) {
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(SystemProcedure(dll, name)));
}

// The system folder ("C:\Windows\System32"; a 32-bit process on 64-bit
// Windows is given SysWOW64's programs there).
std::wstring SystemFolder();

// The Windows folder ("C:\Windows").
std::wstring WindowsFolder();

// The full path of a program in the system folder ("C:\Windows\System32\net.exe"
// for "net"), for a program the tool starts by its bare name: never one found
// in the current or the executable's folder. Fails with "file not found" when
// the system folder has no such program.
std::wstring SystemProgram(const std::wstring& name);

// ShellExecuteExW from shell32, loaded on first use: most runs start nothing
// until the removal, and the tool starts sooner without it.
BOOL ShellExecuteFromSystem(SHELLEXECUTEINFOW* info);

// Loads DLLs that are not linked in from the system folder only, for the whole
// process (the COM servers the tool creates load by their registered paths
// as before). Called first thing at start.
void RestrictDllSearchToSystemFolder();

}  // namespace kelvane::platform::windows
