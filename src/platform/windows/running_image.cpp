#include "platform/windows/running_image.h"

#include <windows.h>
#include <psapi.h>

#include <vector>

#include "platform/windows/handles.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

UniqueHandle& Pinned() {
  static UniqueHandle pinned;
  return pinned;
}

std::wstring FinalPath(HANDLE file, DWORD form) {
  std::vector<wchar_t> buffer(1024);
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()), form);
    if (length == 0) throw LastWin32Error();
    if (length < buffer.size()) return std::wstring(buffer.data(), length);
    buffer.resize(length + 1);
  }
}

bool SameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

// A file handle from CreateFileW, or its failure.
UniqueHandle Opened(HANDLE file) {
  if (file == INVALID_HANDLE_VALUE) throw LastWin32Error();
  return UniqueHandle(file);
}

// "\??\C:\..." (as Wine maps it) reads as "\\?\C:\...".
std::wstring DosForm(std::wstring path) {
  if (path.rfind(L"\\??\\", 0) == 0) path[1] = L'\\';
  return path;
}

}  // namespace

void PinRunningImage() {
  std::vector<wchar_t> module(32768);
  const DWORD length = GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
  if (length == 0 || length >= module.size()) throw LastWin32Error();
  UniqueHandle file = Opened(CreateFileW(module.data(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  // What the process runs is the file its image section maps: Windows names
  // it by device ("\Device\HarddiskVolume2\..."), Wine by drive.
  std::vector<wchar_t> mapped(32768);
  const DWORD mappedLength = GetMappedFileNameW(GetCurrentProcess(), GetModuleHandleW(nullptr), mapped.data(),
                                                static_cast<DWORD>(mapped.size()));
  if (mappedLength == 0) throw LastWin32Error();
  const std::wstring image = DosForm(std::wstring(mapped.data(), mappedLength));
  if (!SameText(image, FinalPath(file.get(), VOLUME_NAME_NT)) && !SameText(image, FinalPath(file.get(), VOLUME_NAME_DOS))) {
    throw ErrorFromWin32(ERROR_FILE_INVALID);
  }
  Pinned() = std::move(file);
}

bool IsPinnedImage(const std::wstring& longPath) {
  if (!Pinned()) return false;
  const HANDLE opened = CreateFileW(longPath.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return false;
  const UniqueHandle other(opened);
  return SameText(FinalPath(other.get(), VOLUME_NAME_DOS), FinalPath(Pinned().get(), VOLUME_NAME_DOS));
}

void CopyPinnedImage(const std::wstring& destination) {
  HANDLE image = Pinned().get();
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(image, start, nullptr, FILE_BEGIN)) throw LastWin32Error();
  const UniqueHandle copy =
      Opened(CreateFileW(destination.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::vector<char> buffer(64 * 1024);
  for (;;) {
    DWORD read = 0, written = 0;
    if (!ReadFile(image, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) throw LastWin32Error();
    if (read == 0) return;
    if (!WriteFile(copy.get(), buffer.data(), read, &written, nullptr) || written != read) throw LastWin32Error();
  }
}

}  // namespace kelvane::platform::windows
