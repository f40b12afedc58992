#include "platform/windows/elevation.h"

#include "platform/windows/handles.h"
#include "platform/windows/system_library.h"
#include "platform/windows/text.h"
#include "platform/windows/token.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

Elevation CurrentTokenElevation() {
  UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return Elevation::Unknown;
  TOKEN_ELEVATION_TYPE type{};
  TOKEN_ELEVATION elevated{};
  DWORD size = 0;
  const bool typeRead = GetTokenInformation(token.get(), TokenElevationType, &type, sizeof type, &size);
  const bool elevatedRead = GetTokenInformation(token.get(), TokenElevation, &elevated, sizeof elevated, &size);
  if (!typeRead) return Elevation::Unknown;
  switch (type) {
    case TokenElevationTypeLimited: return Elevation::Limited;
    case TokenElevationTypeFull: return Elevation::Full;
    case TokenElevationTypeDefault:
      if (!elevatedRead) return Elevation::Unknown;
      return elevated.TokenIsElevated ? Elevation::Full : Elevation::Standard;
  }
  return Elevation::Unknown;
}

std::string CurrentUserSid() {
  UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return {};
  try {
    const auto information = ReadTokenInformation(token.get(), TokenUser);
    return Narrow(SidText(TokenRecord<TOKEN_USER>(information).User.Sid));
  } catch (const Error&) {
    return {};
  }
}

void StartProgramElevated(const std::wstring& program, const std::wstring& parameters, const std::wstring& folder) {
  SHELLEXECUTEINFOW start{};
  start.cbSize = sizeof start;
  // No shell error dialog: a refusal reaches the tool's own error box.
  start.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  start.lpVerb = L"runas";
  start.lpFile = program.c_str();
  start.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  start.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  start.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteFromSystem(&start)) throw LastWin32Error();
}

}  // namespace kelvane::platform::windows
