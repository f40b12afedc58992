#include "platform/windows/environment.h"

#include <windows.h>

#include "platform/windows/known_folders.h"
#include "platform/windows/system_library.h"

namespace kelvane::platform::windows {

namespace {

bool SameName(const std::wstring& name, const wchar_t* other) {
  return CompareStringOrdinal(name.c_str(), -1, other, -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

std::wstring ExpandReferences(const std::wstring& text, const ReferenceValue& value) {
  std::wstring expanded;
  std::size_t at = 0;
  while (at < text.size()) {
    const auto open = text.find(L'%', at);
    const auto close = open == std::wstring::npos ? open : text.find(L'%', open + 1);
    if (close == std::wstring::npos) {
      expanded.append(text, at);
      break;
    }
    expanded.append(text, at, open - at);
    const std::wstring name = text.substr(open + 1, close - open - 1);
    const std::optional<std::wstring> found = name.empty() ? std::nullopt : value(name);
    if (found) {
      expanded += *found;
      at = close + 1;
    } else {
      expanded.append(text, open, close - open);
      at = close;
    }
  }
  return expanded;
}

std::optional<std::wstring> EnvironmentValue(const std::wstring& name) {
  std::wstring value(64, L'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetEnvironmentVariableW(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    if (length < value.size()) {
      value.resize(length);
      return value;
    }
    value.resize(length);  // too small: the length counts the terminating null
  }
}

std::optional<std::wstring> MachineFolderValue(const std::wstring& name) {
  if (SameName(name, L"ProgramFiles")) return KnownFolder(FOLDERID_ProgramFiles);
  if (SameName(name, L"CommonProgramFiles")) return KnownFolder(FOLDERID_ProgramFilesCommon);
  if (SameName(name, L"ProgramData") || SameName(name, L"ALLUSERSPROFILE")) return KnownFolder(FOLDERID_ProgramData);
  return std::nullopt;
}

std::optional<std::wstring> SystemRootValue(const std::wstring& name) {
  if (SameName(name, L"SystemRoot") || SameName(name, L"windir")) return WindowsFolder();
  if (SameName(name, L"SystemDrive")) return WindowsFolder().substr(0, 2);
  return std::nullopt;
}

}  // namespace kelvane::platform::windows
