// The built kelvane2010.exe: its resources, and its windows as another
// program sees them while it runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/windows/elevation.h"
#include "platform/windows/known_folders.h"
#include "ui_test_support.h"

namespace kelvane::ui_test {
namespace {

constexpr wchar_t kFormClass[] = L"Kelvane2010Form";

std::wstring VersionString(const std::wstring& program, const wchar_t* name) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(program.c_str(), &ignored);
  if (!size) return L"<no version record>";
  std::vector<BYTE> record(size);
  if (!GetFileVersionInfoW(program.c_str(), 0, size, record.data())) return L"<unreadable>";
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(record.data(), path.c_str(), &value, &length)) return L"<missing>";
  return static_cast<const wchar_t*>(value);
}

std::string ResourceBytes(HMODULE module, LPCWSTR type, int id) {
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (!resource) return {};
  const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, resource)));
  return std::string(bytes, SizeofResource(module, resource));
}

class ProgramResources : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(ProgramPath().empty()) << "run with --program=PATH";
    module = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
  }
  void TearDown() override {
    if (module) FreeLibrary(module);
  }
  HMODULE module = nullptr;
};

TEST_F(ProgramResources, VersionRecordNamesTheProductAndVersion) {
  EXPECT_EQ(VersionString(ProgramPath(), L"ProductName"), L"Kelvane 2010");
  EXPECT_EQ(VersionString(ProgramPath(), L"FileVersion"), L"1.01");
  EXPECT_EQ(VersionString(ProgramPath(), L"ProductVersion"), L"1.01");
  // kelvane2010.exe or kelvane2010-x64.exe: the file's own name.
  EXPECT_EQ(VersionString(ProgramPath(), L"OriginalFilename"),
            ProgramPath().substr(ProgramPath().find_last_of(L'\\') + 1));
}

TEST_F(ProgramResources, ManifestAsksForNoElevationAndNamesTheWindowsVersions) {
  const std::string manifest = ResourceBytes(module, MAKEINTRESOURCEW(24) /* RT_MANIFEST */, 1);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  for (const char* windows : {"35138b9a-5d96-4fbd-8e2d-a2440225f93a", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
                              "1f676c76-80e1-4239-95bb-83d0f6d0da78", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) {
    EXPECT_NE(manifest.find(windows), std::string::npos) << windows;
  }
}

TEST_F(ProgramResources, IconHasSixImagesIn256ColoursAnd32Bit) {
  const std::string group = ResourceBytes(module, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */, 1);
  ASSERT_GE(group.size(), 6u);
  const int count = static_cast<unsigned char>(group[4]) | static_cast<unsigned char>(group[5]) << 8;
  ASSERT_EQ(count, 6);
  ASSERT_EQ(group.size(), 6u + 14u * 6u);
  std::vector<std::pair<int, int>> images;  // size, bits per pixel
  for (int i = 0; i < count; ++i) {
    const char* entry = group.data() + 6 + 14 * i;
    images.emplace_back(static_cast<unsigned char>(entry[0]), static_cast<unsigned char>(entry[6]));
  }
  for (int size : {48, 32, 16}) {
    for (int bits : {8, 32}) {
      EXPECT_NE(std::find(images.begin(), images.end(), std::make_pair(size, bits)), images.end())
          << size << " px, " << bits << " bit";
    }
  }
}

TEST_F(ProgramResources, PicturesAreAJpegPairAndAGif) {
  EXPECT_EQ(ResourceBytes(module, MAKEINTRESOURCEW(10), 101).substr(0, 3), "\xFF\xD8\xFF");
  EXPECT_EQ(ResourceBytes(module, MAKEINTRESOURCEW(10), 102).substr(0, 3), "\xFF\xD8\xFF");
  EXPECT_EQ(ResourceBytes(module, MAKEINTRESOURCEW(10), 103).substr(0, 6), "GIF89a");
}

// Starts the program with the user's folders it reads and deletes in a
// throwaway folder of its own, so that the prefix it runs in stays as it was.
// The environment also points the machine-wide folders there, which the tool
// takes from the system all the same.
class RunningProgram : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(ProgramPath().empty()) << "run with --program=PATH";
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    root = std::filesystem::path(base) / (L"kelvane-ui-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                          std::to_wstring(GetTickCount()));
    for (const wchar_t* folder : {L"temp", L"appdata", L"programs", L"common", L"allusers"}) {
      std::filesystem::create_directories(root / folder);
    }
  }
  void TearDown() override {
    if (process.hProcess) {
      if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 99);
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
    }
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }

  void Start() {
    std::wstring environment;
    const std::pair<const wchar_t*, const wchar_t*> folders[] = {
        {L"TEMP", L"temp"},          {L"TMP", L"temp"},          {L"APPDATA", L"appdata"},
        {L"ProgramFiles", L"programs"}, {L"CommonProgramFiles", L"common"}, {L"ALLUSERSPROFILE", L"allusers"}};
    for (const auto& [name, folder] : folders) environment += std::wstring(name) + L"=" + (root / folder).wstring() + L'\0';
    for (const wchar_t* inherited : {L"SystemRoot", L"windir", L"PATH", L"USERPROFILE", L"USERNAME", L"COMPUTERNAME"}) {
      wchar_t value[4096];
      if (GetEnvironmentVariableW(inherited, value, 4096)) environment += std::wstring(inherited) + L"=" + value + L'\0';
    }
    environment += L'\0';
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + ProgramPath() + L"\"";
    ASSERT_TRUE(CreateProcessW(ProgramPath().c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                               CREATE_UNICODE_ENVIRONMENT, environment.data(), nullptr, &startup, &process));
  }

  // The program's visible window with this caption, waiting up to 30 s.
  HWND WaitForWindow(const wchar_t* caption) {
    for (int tries = 0; tries < 600; ++tries) {
      HWND window = FindWindowW(kFormClass, caption);
      DWORD owner = 0;
      if (window) GetWindowThreadProcessId(window, &owner);
      if (window && owner == process.dwProcessId && IsWindowVisible(window)) return window;
      if (WaitForSingleObject(process.hProcess, 50) != WAIT_TIMEOUT) return nullptr;
    }
    return nullptr;
  }

  DWORD WaitForExit() {
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
  }

  // The control with the keyboard focus in the program's window, once it
  // has one (the window shows before its focus moves), waiting up to 5 s.
  HWND FocusOf(HWND window) {
    for (int tries = 0; tries < 100; ++tries) {
      GUITHREADINFO info{};
      info.cbSize = sizeof info;
      GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
      if (info.hwndFocus && GetParent(info.hwndFocus) == window) return info.hwndFocus;
      Sleep(50);
    }
    return nullptr;
  }

  static std::vector<std::wstring> ChildTexts(HWND window) {
    std::vector<std::wstring> texts;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      texts.push_back(TextOf(child));
    }
    return texts;
  }

  std::filesystem::path root;
  PROCESS_INFORMATION process{};
};

using Texts = std::vector<std::wstring>;

TEST_F(RunningProgram, FirstRunShowsTheMainWindowAndItsCloseBoxEndsTheTool) {
  Start();
  HWND kelvane = WaitForWindow(L"Kelvane 2010 - www.kelvane.example");
  ASSERT_NE(kelvane, nullptr);
  EXPECT_EQ(ClientSizeOf(kelvane).cx, 492);
  EXPECT_EQ(ClientSizeOf(kelvane).cy, 159);
  EXPECT_EQ(ChildTexts(kelvane), (Texts{L"Press Go to Remove Microsoft Office 2010", L"",
                                        L"Note this will not work on Office 2007. You need  Kelvane 2007",
                                        L"http://www.kelvane.example/downloads/kelvane2007.exe"}));
  HWND focus = FocusOf(kelvane);
  EXPECT_EQ(GetParent(focus), kelvane);
  EXPECT_EQ(TextOf(focus), L"");  // btnGo, the picture button
  EXPECT_NE(GetWindowLongW(kelvane, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
  // No other window of the tool exists on a first run before Go.
  EXPECT_EQ(FindWindowW(kFormClass, L"Working..."), nullptr);
  PostMessageW(kelvane, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(), 0u);
}

// The machine's "http" class, pointed for one test at a command of its own,
// and put back after it.
class MachineHttpClass {
 public:
  explicit MachineHttpClass(const std::wstring& command) {
    DWORD size = sizeof previous_;
    RegGetValueW(HKEY_LOCAL_MACHINE, kKey, nullptr, RRF_RT_REG_SZ, nullptr, previous_, &size);
    Set(command.c_str());
  }
  ~MachineHttpClass() { Set(previous_); }

 private:
  static constexpr wchar_t kKey[] = L"SOFTWARE\\Classes\\http\\shell\\open\\command";
  static void Set(const wchar_t* command) {
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kKey, nullptr, REG_SZ, command, static_cast<DWORD>((wcslen(command) + 1) * 2));
  }
  wchar_t previous_[1024] = L"";
};

// Each click on a link opens its address, also one that comes while the
// first is still being opened; the address's handler here is this test
// program, which leaves a file for each start.
TEST_F(RunningProgram, TwoQuickClicksOnLabel2OpenItsAddressTwice) {
  const std::filesystem::path opened = root / L"opened";
  std::filesystem::create_directories(opened);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const MachineHttpClass http(L"\"" + std::wstring(self) + L"\" \"--opened=" + opened.wstring() + L"\" \"%1\"");
  Start();
  HWND kelvane = WaitForWindow(L"Kelvane 2010 - www.kelvane.example");
  ASSERT_NE(kelvane, nullptr);
  HWND label2 = GetWindow(GetWindow(GetWindow(GetWindow(kelvane, GW_CHILD), GW_HWNDNEXT), GW_HWNDNEXT), GW_HWNDNEXT);
  ASSERT_EQ(TextOf(label2), L"http://www.kelvane.example/downloads/kelvane2007.exe");
  for (int click = 0; click < 2; ++click) {
    PostMessageW(label2, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(label2, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  }
  auto count = [&] { return std::distance(std::filesystem::directory_iterator(opened), {}); };
  for (int tries = 0; tries < 300 && count() < 2; ++tries) Sleep(100);
  EXPECT_EQ(count(), 2);
  PostMessageW(kelvane, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(), 0u);
}

// The record of a resumed run due lies in the tool's folder under the
// system's Program Files, which no environment moves.
std::filesystem::path ToolFolder() {
  return std::filesystem::path(platform::windows::KnownFolder(FOLDERID_ProgramFiles)) / L"Kelvane 2010";
}

TEST_F(RunningProgram, ResumedRunFinishesOnTheCompletionWindowAndFinishEndsTheTool) {
  std::ofstream(root / L"temp" / L"deleteoffice.bat") << "@exit\r\n";
  std::filesystem::create_directories(ToolFolder());
  // Named for the user who runs the test: the resumed run is that user's own.
  std::ofstream(ToolFolder() / L"ResumeAfterRestart") << "due\r\nUser: " << platform::windows::CurrentUserSid() << "\r\n";
  Start();
  HWND complete = WaitForWindow(L"Complete");
  ASSERT_NE(complete, nullptr);
  EXPECT_EQ(ClientSizeOf(complete).cx, 501);
  EXPECT_EQ(ClientSizeOf(complete).cy, 234);
  EXPECT_EQ(ChildTexts(complete),
            (Texts{L"Finished Successfully", L"", L"Please support the efforts of a starving coder.", L""}));
  // The progress window is hidden but still there; the main window was never shown.
  HWND loading = FindWindowW(kFormClass, L"Working...");
  ASSERT_NE(loading, nullptr);
  EXPECT_FALSE(IsWindowVisible(loading));
  EXPECT_EQ(ChildTexts(loading).size(), 1u);
  EXPECT_EQ(ClientSizeOf(loading).cx, 394);
  EXPECT_EQ(ClientSizeOf(loading).cy, 64);
  HWND kelvane = FindWindowW(kFormClass, L"Kelvane 2010 - www.kelvane.example");
  ASSERT_NE(kelvane, nullptr);
  EXPECT_FALSE(IsWindowVisible(kelvane));
  // Under Wine the command interpreter that ran the batch file leaves no
  // foreground window, and nothing may take it uninvited; once the window is
  // activated, as Windows does at log-on, the focus is on Finish.
  SetForegroundWindow(complete);
  HWND finish = FocusOf(complete);
  ASSERT_EQ(GetParent(finish), complete);
  EXPECT_EQ(GetDlgCtrlID(finish), GetDlgCtrlID(GetWindow(GetWindow(complete, GW_CHILD), GW_HWNDNEXT)));
  PostMessageW(finish, BM_CLICK, 0, 0);
  EXPECT_EQ(WaitForExit(), 0u);
  std::error_code ignored;
  std::filesystem::remove_all(ToolFolder(), ignored);
}

}  // namespace
}  // namespace kelvane::ui_test
