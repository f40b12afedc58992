#include "platform/windows/environment.h"

#include <windows.h>

#include "platform/windows/known_folders.h"
#include "platform/windows/system_library.h"
#include "platform/windows/text.h"

namespace kelvane::platform::windows {

namespace {

bool SameName(std::string_view name, const wchar_t* other) {
  return CompareStringOrdinal(Widen(std::string(name)).c_str(), -1, other, -1, TRUE) == CSTR_EQUAL;
}

std::optional<std::string> Narrowed(const std::optional<std::wstring>& value) {
  return value ? std::optional<std::string>(Narrow(*value)) : std::nullopt;
}

}  // namespace

std::optional<std::string> EnvironmentValue(std::string_view name) {
  const std::wstring variable = Widen(std::string(name));
  std::wstring value(64, L'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetEnvironmentVariableW(variable.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    if (length < value.size()) {
      value.resize(length);
      return Narrow(value);
    }
    value.resize(length);  // too small: the length counts the terminating null
  }
}

std::optional<std::string> MachineFolderValue(std::string_view name) {
  if (SameName(name, L"ProgramFiles")) return Narrowed(KnownFolder(FOLDERID_ProgramFiles));
  if (SameName(name, L"CommonProgramFiles")) return Narrowed(KnownFolder(FOLDERID_ProgramFilesCommon));
  if (SameName(name, L"ProgramData") || SameName(name, L"ALLUSERSPROFILE")) {
    return Narrowed(KnownFolder(FOLDERID_ProgramData));
  }
  return std::nullopt;
}

std::optional<std::string> SystemRootValue(std::string_view name) {
  if (SameName(name, L"SystemRoot") || SameName(name, L"windir")) return Narrow(WindowsFolder());
  if (SameName(name, L"SystemDrive")) return Narrow(WindowsFolder().substr(0, 2));
  return std::nullopt;
}

}  // namespace kelvane::platform::windows
