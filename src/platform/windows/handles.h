#pragma once

#include <windows.h>

#include "platform/windows/owner.h"

namespace kelvane::platform::windows {

namespace release {
inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline void FreeLocal(void* memory) { LocalFree(memory); }
}  // namespace release

// A file, folder, process or other kernel handle. Wrap only a handle that was
// obtained: never INVALID_HANDLE_VALUE.
using UniqueHandle = Owner<HANDLE, release::CloseKernelHandle>;
// Memory the system allocated with LocalAlloc for the caller.
using UniqueLocal = Owner<void*, release::FreeLocal>;

}  // namespace kelvane::platform::windows
