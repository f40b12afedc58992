#include "scratch.h"

#include <stdexcept>

#include "platform/windows/folder_delete.h"
#include "platform/windows/text.h"

namespace kelvane::testing {

namespace {

void Require(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string(what) + " failed: " + std::to_string(GetLastError()));
}

std::wstring TempFolder() {
  wchar_t buffer[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  Require(length > 0, "GetTempPathW");
  std::wstring path(buffer, length);
  if (path.back() == L'\\') path.pop_back();
  return path;
}

}  // namespace

ScratchFolder::ScratchFolder() {
  static unsigned counter = 0;
  path_ = TempFolder() + L"\\kelvane-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
  MakeFolder(path_);
}

ScratchFolder::~ScratchFolder() {
  // A program a test started may still be ending in the folder, holding it.
  for (int attempt = 0; attempt < 50; ++attempt) {
    try {
      platform::windows::DeleteFolderTree(Long(path_), true);
      return;
    } catch (...) {
      Sleep(100);
    }
  }
}

std::wstring ScratchFolder::operator/(const std::wstring& name) const {
  std::wstring path = path_;
  path.append(L"\\").append(name);
  return path;
}

std::string ScratchFolder::Utf8() const { return testing::Utf8(path_); }

void MakeFolder(const std::wstring& path) { Require(CreateDirectoryW(path.c_str(), nullptr), "CreateDirectoryW"); }

void WriteBytes(const std::wstring& path, const std::string& bytes, DWORD attributes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  Require(file != INVALID_HANDLE_VALUE, "CreateFileW");
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  Require(ok, "WriteFile");
  Require(SetFileAttributesW(path.c_str(), attributes), "SetFileAttributesW");
}

std::string ReadBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  Require(file != INVALID_HANDLE_VALUE, "CreateFileW");
  std::string bytes(static_cast<std::size_t>(GetFileSize(file, nullptr)), '\0');
  DWORD read = 0;
  const BOOL ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  Require(ok, "ReadFile");
  return bytes;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Utf8(const std::wstring& text) { return platform::windows::Narrow(text); }

std::wstring Long(const std::wstring& path) { return path.rfind(L"\\\\?\\", 0) == 0 ? path : L"\\\\?\\" + path; }

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace kelvane::testing
