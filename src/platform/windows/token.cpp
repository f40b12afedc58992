#include "platform/windows/token.h"

#include <sddl.h>

#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

std::vector<LONGLONG> ReadTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind) {
  DWORD size = 0;
  GetTokenInformation(token, kind, nullptr, 0, &size);
  if (size == 0) throw LastWin32Error();
  std::vector<LONGLONG> information(size / sizeof(LONGLONG) + 1);
  if (!GetTokenInformation(token, kind, information.data(), size, &size)) throw LastWin32Error();
  return information;
}

UniqueHandle OpenEffectiveToken(DWORD access) {
  UniqueHandle token;
  if (OpenThreadToken(GetCurrentThread(), access, TRUE, token.put())) return token;
  if (GetLastError() != ERROR_NO_TOKEN) throw LastWin32Error();
  if (!OpenProcessToken(GetCurrentProcess(), access, token.put())) throw LastWin32Error();
  return token;
}

std::wstring SidText(PSID sid) {
  UniqueLocal text;
  if (!ConvertSidToStringSidW(sid, reinterpret_cast<wchar_t**>(text.put()))) throw LastWin32Error();
  return static_cast<const wchar_t*>(text.get());
}

}  // namespace kelvane::platform::windows
