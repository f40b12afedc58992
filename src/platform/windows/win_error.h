#pragma once

#include <windows.h>

#include <exception>

#include "platform/interface/error.h"

namespace kelvane::platform::windows {

// The platform's error for an HRESULT or a Win32 code, with the system's own
// description of it (WMI's own for its codes). A success code, as a call that
// failed without setting its last error gives, becomes E_FAIL.
Error ErrorFromHresult(HRESULT result);
Error ErrorFromWin32(DWORD code);
Error LastWin32Error();

// Any exception as the platform's error: its own, or E_UNEXPECTED with what
// it says.
Error ErrorFromException(std::exception_ptr failure);

// Throws the error for a failed HRESULT.
inline void Check(HRESULT result) {
  if (FAILED(result)) throw ErrorFromHresult(result);
}

}  // namespace kelvane::platform::windows
