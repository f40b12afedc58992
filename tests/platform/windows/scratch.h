#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

namespace kelvane::testing {

// A fresh folder under the temporary folder for one test, removed with all
// that is left in it when the test ends.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& path() const { return path_; }
  std::string Utf8() const;  // as the core passes paths
  std::wstring operator/(const std::wstring& name) const;

 private:
  std::wstring path_;
};

// Raw Win32 helpers that do not go through the code under test. Paths may
// carry the "\\?\" prefix.
void MakeFolder(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL);
std::string ReadBytes(const std::wstring& path);
bool Exists(const std::wstring& path);
std::string Utf8(const std::wstring& text);
std::wstring Long(const std::wstring& path);  // with the "\\?\" prefix
// True under Wine, where some file-system features differ from Windows.
bool UnderWine();
// Runs a shell script on the host with Unix forms of the paths as $1, $2...
// (Wine only: its Win32 makes no links and moves a link's target when asked
// to move the link.) False elsewhere or when the script fails.
bool OnHost(std::string script, std::initializer_list<std::wstring> paths);
// A symbolic link to a file or folder: on the host under Wine (where it
// stands for a junction), with CreateSymbolicLinkW on Windows.
bool MakeSymbolicLink(const std::wstring& link, const std::wstring& target);

}  // namespace kelvane::testing
