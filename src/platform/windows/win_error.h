#pragma once

#include <windows.h>

#include "platform/error.h"

namespace kelvane::platform::windows {

// The platform's error for an HRESULT or a Win32 code, with the system's own
// description of it.
Error ErrorFromHresult(HRESULT result);
Error ErrorFromWin32(DWORD code);
Error LastWin32Error();

// Throws the error for a failed HRESULT.
inline void Check(HRESULT result) {
  if (FAILED(result)) throw ErrorFromHresult(result);
}

}  // namespace kelvane::platform::windows
