#include "scratch.h"

#include <stdexcept>
#include <vector>

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

bool OnHost(std::string script, std::initializer_list<std::wstring> paths) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  using Spawn = LONG(WINAPI*)(char* const*, int);
  const auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  const auto spawn = reinterpret_cast<Spawn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "__wine_unix_spawnvp")));
  if (!unixName || !spawn) return false;
  std::vector<std::string> words = {"/bin/sh", "-c", std::move(script), "sh"};
  for (const auto& path : paths) words.emplace_back(unixName(path.c_str()));
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  return spawn(argv.data(), 1) == 0;
}

bool MakeSymbolicLink(const std::wstring& link, const std::wstring& target) {
  if (UnderWine()) return OnHost("ln -s \"$2\" \"$1\"", {link, target});
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  return CreateSymbolicLinkW(link.c_str(), target.c_str(),
                             (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
}

}  // namespace kelvane::testing
