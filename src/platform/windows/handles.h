#pragma once

#include <windows.h>
#include <oleauto.h>

#include "platform/windows/owner.h"

namespace kelvane::platform::windows {

namespace release {
inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline void FreeLocal(void* memory) { LocalFree(memory); }
inline void CloseRegistryKey(HKEY key) { RegCloseKey(key); }
inline void FreeString(BSTR text) { SysFreeString(text); }
inline void FreeTaskText(wchar_t* text) { CoTaskMemFree(text); }
}  // namespace release

// A file, folder, process or other kernel handle. Wrap only a handle that was
// obtained: never INVALID_HANDLE_VALUE.
using UniqueHandle = Owner<HANDLE, release::CloseKernelHandle>;
// Memory the system allocated with LocalAlloc for the caller.
using UniqueLocal = Owner<void*, release::FreeLocal>;
// An open registry key.
using UniqueRegistryKey = Owner<HKEY, release::CloseRegistryKey>;
// A BSTR the caller owns (an out parameter, an element copied out of an array).
using UniqueBstr = Owner<BSTR, release::FreeString>;
// Text a COM or shell call allocated for the caller (SHGetKnownFolderPath).
using UniqueTaskText = Owner<wchar_t*, release::FreeTaskText>;

}  // namespace kelvane::platform::windows
