#include "platform/windows/win_error.h"

#include <string>

#include "platform/windows/text.h"

namespace kelvane::platform::windows {

namespace {

std::string Describe(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
      reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring description = length ? std::wstring(text, length) : std::wstring();
  if (text) LocalFree(text);
  while (!description.empty() && (description.back() == L'\n' || description.back() == L'\r')) description.pop_back();
  if (description.empty()) return "Unknown error";
  return Narrow(description);
}

}  // namespace

Error ErrorFromHresult(HRESULT result) {
  return Error(static_cast<long>(result), Describe(static_cast<DWORD>(result)));
}

Error ErrorFromWin32(DWORD code) { return ErrorFromHresult(HRESULT_FROM_WIN32(code)); }

Error LastWin32Error() { return ErrorFromWin32(GetLastError()); }

}  // namespace kelvane::platform::windows
