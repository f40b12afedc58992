#include "platform/windows/win_error.h"

#include <wbemcli.h>

#include <string>

#include "platform/windows/com.h"
#include "platform/windows/handles.h"
#include "platform/windows/text.h"

namespace kelvane::platform::windows {

namespace {

std::wstring SystemText(DWORD code) {
  UniqueLocal text;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
      reinterpret_cast<wchar_t*>(text.put()), 0, nullptr);
  return length ? std::wstring(static_cast<const wchar_t*>(text.get()), length) : std::wstring();
}

// WMI's own codes (0x80041001 "Generic failure" and the like) are in no
// system message table: WMI describes them itself, where COM is up on this
// thread.
bool IsWmiCode(HRESULT result) {
  const auto code = static_cast<DWORD>(result);
  return code >= 0x80041000u && code <= 0x80045FFFu;
}

std::wstring WmiText(HRESULT result) {
  ComPtr<IWbemStatusCodeText> status;
  if (FAILED(CoCreateInstance(CLSID_WbemStatusCodeText, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemStatusCodeText,
                              status.PutVoid()))) {
    return {};
  }
  UniqueBstr text;
  if (FAILED(status->GetErrorCodeText(result, 0, 0, text.put())) || !text) return {};
  return std::wstring(text.get(), SysStringLen(text.get()));
}

std::string Describe(HRESULT result) {
  std::wstring description = SystemText(static_cast<DWORD>(result));
  if (description.empty() && IsWmiCode(result)) description = WmiText(result);
  while (!description.empty() && (description.back() == L'\n' || description.back() == L'\r' ||
                                  description.back() == L' ')) {
    description.pop_back();
  }
  if (description.empty()) return "Unknown error";
  return Narrow(description);
}

}  // namespace

Error ErrorFromHresult(HRESULT result) {
  // A failure reported with no code of its own (a call that failed without
  // setting one) is still a failure: never "The operation completed
  // successfully".
  if (SUCCEEDED(result)) result = E_FAIL;
  return Error(static_cast<long>(result), Describe(result));
}

Error ErrorFromWin32(DWORD code) { return ErrorFromHresult(HRESULT_FROM_WIN32(code)); }

Error LastWin32Error() { return ErrorFromWin32(GetLastError()); }

Error ErrorFromException(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const Error& error) {
    return error;
  } catch (const std::exception& other) {
    return Error(static_cast<long>(E_UNEXPECTED), other.what());
  } catch (...) {
    return Error(static_cast<long>(E_UNEXPECTED), "Unexpected failure");
  }
}

}  // namespace kelvane::platform::windows
