#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/windows/handles.h"

namespace kelvane::platform::windows {

// One kind of token information, read whole (GetTokenInformation's sized
// records), aligned for the record it holds.
std::vector<LONGLONG> ReadTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind);

template <class Record>
const Record& TokenRecord(const std::vector<LONGLONG>& information) {
  return *reinterpret_cast<const Record*>(information.data());
}

// The token the calling thread acts with: its own while it impersonates,
// opened with the process's rights, else the process's.
UniqueHandle OpenEffectiveToken(DWORD access);

// "S-1-5-21-...": how the profile list and the tests name a SID.
std::wstring SidText(PSID sid);

}  // namespace kelvane::platform::windows
