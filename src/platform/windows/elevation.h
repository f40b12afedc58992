#pragma once

#include <windows.h>

#include <string>

#include "platform/interface/kernel.h"

namespace kelvane::platform::windows {

// The running process's token, from TokenElevationType: a split token's
// limited half is an administrator held back by User Account Control; a token
// that is not split is full when elevated (UAC off, or the built-in
// Administrator) and a standard user's otherwise.
Elevation CurrentTokenElevation();

// The SID of the user the process's token is for (TokenUser), as text; an
// elevated token and the limited one it came from name the same user. Empty
// when the token cannot be read.
std::string CurrentUserSid();

// Starts the program with the verb "runas" and the parameters in the folder,
// and returns once it has started; when the person declines, throws the
// cancellation as every Win32 failure is reported: 0x800704C7
// (HRESULT_FROM_WIN32(ERROR_CANCELLED)), "The operation was canceled by the
// user.".
void StartProgramElevated(const std::wstring& program, const std::wstring& parameters, const std::wstring& folder);

}  // namespace kelvane::platform::windows
