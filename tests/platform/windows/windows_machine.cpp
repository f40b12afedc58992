// Windows under the contract: a scratch folder and key made with the system's
// own calls. Under Wine, links are made on the host, and a folder's read-only
// attribute does not stick.
#include <shlobj.h>
#include <userenv.h>

#include <vector>

#include "platform/windows/com.h"
#include "platform/windows/known_folders.h"
#include "platform/windows/text.h"
#include "platform/windows/windows_platform.h"
#include "platform_contract.h"
#include "scratch.h"

#ifndef KELVANE_TEST_MSI
#error "KELVANE_TEST_MSI names the test package"
#endif

namespace kelvane::testing {
namespace {

using platform::windows::Widen;

DWORD RunAndWait(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return GetLastError();
  WaitForSingleObject(process.hProcess, 120000);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

std::string Known(const KNOWNFOLDERID& folder) { return Utf8(platform::windows::KnownFolder(folder)); }

std::string OtherProfile(const std::wstring& ours) {
  const wchar_t* list = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
  HKEY profiles;
  std::string other;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, list, 0, KEY_READ, &profiles) == ERROR_SUCCESS) {
    wchar_t sid[256], path[MAX_PATH];
    for (DWORD index = 0; other.empty(); ++index) {
      DWORD sidLength = 256, size = sizeof path;
      if (RegEnumKeyExW(profiles, index, sid, &sidLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      if (RegGetValueW(profiles, sid, L"ProfileImagePath", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ, nullptr, path, &size) ==
              ERROR_SUCCESS &&
          _wcsicmp(path, ours.c_str()) != 0 && wcsncmp(sid, L"S-1-5-21-", 9) == 0) {
        other = Utf8(path);
      }
    }
    RegCloseKey(profiles);
  }
  return other.empty() ? Known(FOLDERID_Public) : other;
}

class WindowsMachine final : public MachineUnderTest {
 public:
  WindowsMachine() : key_(L"Software\\KelvaneContract\\" + std::to_wstring(GetCurrentProcessId())) {}
  ~WindowsMachine() override {
    for (HANDLE file : held_) CloseHandle(file);
    for (const auto& file : kept_) DeleteFileW(file.c_str());
    // Wine cannot delete a link as a link, so the scratch folder could not
    // go, and a later run given the same process ID would find it there.
    if (UnderWine()) {
      for (const auto& link : links_) OnHost("rm -f \"$1\"", {link});
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
  }

  platform::Objects& objects() override { return *objects_; }
  platform::Kernel& kernel() override { return *kernel_; }
  std::string Scratch() override { return scratch_.Utf8(); }
  std::string ScratchKey() override { return Utf8(key_); }

  void MakeFolder(const std::string& path, bool readOnly) override {
    const std::wstring wide = Widen(path);
    for (auto at = wide.find(L'\\', scratch_.path().size() + 1); at != std::wstring::npos; at = wide.find(L'\\', at + 1)) {
      CreateDirectoryW(wide.substr(0, at).c_str(), nullptr);
    }
    CreateDirectoryW(wide.c_str(), nullptr);
    if (readOnly) SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY);
  }
  void MakeFile(const std::string& path, const std::string& content, bool readOnly) override {
    MakeFolder(path.substr(0, path.rfind('\\')), false);
    WriteBytes(Widen(path), content, readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
  }
  bool Exists(const std::string& path) override { return testing::Exists(Widen(path)); }
  std::string ReadFile(const std::string& path) override { return ReadBytes(Widen(path)); }
  void HoldOpen(const std::string& path) override {
    held_.push_back(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  }
  bool MakeFolderLink(const std::string& link, const std::string& target) override {
    if (!MakeSymbolicLink(Widen(link), Widen(target))) return false;
    links_.push_back(Widen(link));
    return true;
  }
  // The target through the shell's link object; the window style from the
  // header's ShowCommand field at offset 60, since Wine's link object reads
  // any value but 1, 3 and 7 back as 1.
  std::string ReadShortcut(const std::string& path) override {
    platform::windows::ComPtr<IShellLinkW> link;
    platform::windows::ComPtr<IPersistFile> file;
    wchar_t target[MAX_PATH] = {};
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid())) ||
        FAILED(file->Load(Widen(path).c_str(), STGM_READ)) || FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) {
      return "(not a shortcut)";
    }
    const std::string bytes = ReadFile(path);
    return Utf8(target) + "|" + (bytes.size() > 64 ? std::to_string(static_cast<unsigned char>(bytes[60])) : "?");
  }

  void MakeKey(const std::string& path) override {
    HKEY made;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &made, nullptr) ==
        ERROR_SUCCESS) {
      RegCloseKey(made);
    }
  }
  bool HasKey(const std::string& path) override {
    HKEY found;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, KEY_READ, &found) != ERROR_SUCCESS) return false;
    RegCloseKey(found);
    return true;
  }

  void MakeValue(const std::string& path, const std::string& name, const std::vector<std::string>& strings,
                 bool multi) override {
    std::wstring data;
    for (const std::string& text : strings) data += Widen(text) + L'\0';
    if (multi) data += L'\0';
    RegSetKeyValueW(HKEY_CURRENT_USER, Widen(path).c_str(), Widen(name).c_str(), multi ? REG_MULTI_SZ : REG_SZ,
                    data.data(), static_cast<DWORD>(data.size() * sizeof(wchar_t)));
  }
  bool HasValue(const std::string& path, const std::string& name) override {
    return RegGetValueW(HKEY_CURRENT_USER, Widen(path).c_str(), Widen(name).c_str(), RRF_RT_ANY, nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
  }

  // The test package, built for the tests' own architecture: it installs
  // under the Program Files folder this process sees.
  Installed InstallProduct() override {
    if (RunAndWait(L"msiexec /i \"" + std::wstring(KELVANE_TEST_MSI) + L"\" /qn") != 0) return {"(not installed)", "", ""};
    wchar_t file[MAX_PATH];
    ExpandEnvironmentStringsW(L"%ProgramFiles%\\Kelvane Test Package\\readme.txt", file, MAX_PATH);
    return {"Microsoft Office Test Kelvane Package", Utf8(file), "{6F1C2B7A-3E4D-4B5A-9C8D-7E6F5A4B3C2D}"};
  }

  // Each from a source of its own, not the code under test: the profile
  // from userenv, the rest from the known folders. Another user's profile is
  // one the profile list names beside ours; Wine has none but the public one.
  // The scratch folder lies in the user's temporary folder, below the profile.
  Places SweepPlaces() override {
    Places places;
    places.belowProfile = scratch_.Utf8() + "\\Temp";
    HANDLE token = nullptr;
    wchar_t profile[MAX_PATH] = L"";
    DWORD length = MAX_PATH;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
      GetUserProfileDirectoryW(token, profile, &length);
      CloseHandle(token);
    }
    places.profile = Utf8(profile);
    places.documents = Known(FOLDERID_Documents);
    places.windows = Known(FOLDERID_Windows);
    places.system32 = Known(FOLDERID_System);
    places.commonFiles = Known(FOLDERID_ProgramFilesCommon);
    places.programData = Known(FOLDERID_ProgramData);
    places.publicDocuments = Known(FOLDERID_PublicDocuments);
    places.otherProfile = OtherProfile(profile);
    // Each holds a file of this machine's own, removed when it ends.
    const std::wstring kept = L"\\kelvane-contract-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    for (const std::string& place : places.All()) {
      CreateDirectoryW(Widen(place).c_str(), nullptr);  // Wine's prefix lacks some
      kept_.push_back(Widen(place) + kept);
      WriteBytes(kept_.back(), "kept");
    }
    return places;
  }

  bool DeletesLinksAsLinks() override { return !UnderWine(); }
  bool HasReadOnlyFolders() override { return !UnderWine(); }

 private:
  ScratchFolder scratch_;
  std::wstring key_;
  std::vector<HANDLE> held_;
  std::vector<std::wstring> links_;
  std::vector<std::wstring> kept_;
  std::unique_ptr<platform::Objects> objects_ = platform::windows::MakeObjects();
  std::unique_ptr<platform::Kernel> kernel_ = platform::windows::MakeKernel();
};

std::unique_ptr<MachineUnderTest> MakeWindowsMachine() { return std::make_unique<WindowsMachine>(); }

INSTANTIATE_TEST_SUITE_P(Windows, PlatformContract, ::testing::Values(&MakeWindowsMachine), MachineName);

}  // namespace
}  // namespace kelvane::testing
