// The clean-up's sweep of the temporary folder on the real file system: what
// it deletes, what it must leave, and how it announces each item.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "files/clean_up.h"
#include "platform/interface/error.h"
#include "platform/interface/platform.h"
#include "platform/windows/windows_file_system.h"
#include "platform/windows/windows_platform.h"
#include "scratch.h"

namespace kelvane::testing {
namespace {

class ProgressLine : public platform::WindowSystem {
 public:
  void Show(platform::Window) override {}
  void Hide(platform::Window) override {}
  void SetProgressCaption(const std::string& text) override { texts.push_back(text); }
  void RepaintProgress() override {}
  void ShowErrorBox(const std::string&, const std::string&) override {}
  void EndTool(int) override {}
  bool Shows(const std::string& text) const { return std::find(texts.begin(), texts.end(), text) != texts.end(); }
  std::vector<std::string> texts;
};

// Points %TEMP% into the scratch folder for one test. %ALLUSERSPROFILE% is
// the system's whatever the environment says.
class Environment {
 public:
  explicit Environment(const std::wstring& temp) {
    wchar_t value[4096] = L"";
    GetEnvironmentVariableW(L"TEMP", value, 4096);
    saved_ = value;
    SetEnvironmentVariableW(L"TEMP", temp.c_str());
  }
  ~Environment() { SetEnvironmentVariableW(L"TEMP", saved_.c_str()); }

 private:
  std::wstring saved_;
};

void RunCleanUp(ProgressLine& line) {
  auto objects = platform::windows::MakeObjects();
  auto kernel = platform::windows::MakeKernel();
  platform::Platform machine{*objects, *kernel, line};
  files::CleanUp(machine);
}

TEST(Sweep, DeletesEveryNameAsItComesAndAnnouncesItIntact) {
  ScratchFolder scratch;
  const std::wstring temp = scratch / L"Temp";
  MakeFolder(temp);
  const std::vector<std::wstring> names = {
      L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac.docx",  // Greek
      L"\u4e2d\u6587\u6587\u4ef6\u5939",                          // CJK, a folder
      L"\U0001F600 smile.txt",                                    // outside the BMP
      L"a b & c %PATH% 100%.txt", L"empty.tmp", L"hidden system.dat", L"read only.txt", L"large.bin"};
  WriteBytes(temp + L"\\" + names[0], "x");
  MakeFolder(temp + L"\\" + names[1]);
  WriteBytes(temp + L"\\" + names[1] + L"\\inner.txt", "x");
  WriteBytes(temp + L"\\" + names[2], "x");
  WriteBytes(temp + L"\\" + names[3], "x");
  WriteBytes(temp + L"\\" + names[4], "");
  WriteBytes(temp + L"\\" + names[5], "x", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  WriteBytes(temp + L"\\" + names[6], "x", FILE_ATTRIBUTE_READONLY);
  WriteBytes(temp + L"\\" + names[7], std::string(8 << 20, 'L'));
  // A tree deeper than 260 characters.
  std::wstring deep = Long(temp) + L"\\deep";
  MakeFolder(deep);
  while (deep.size() < 340) MakeFolder(deep += L"\\" + std::wstring(50, L'n'));
  WriteBytes(deep + L"\\bottom.txt", "x");

  Environment environment(temp);
  ProgressLine line;
  RunCleanUp(line);

  for (const auto& name : names) {
    EXPECT_FALSE(Exists(temp + L"\\" + name)) << Utf8(name);
    EXPECT_TRUE(line.Shows("Removing " + Utf8(name))) << Utf8(name);
  }
  EXPECT_FALSE(Exists(temp + L"\\deep"));
  EXPECT_TRUE(Exists(temp)) << "the folder itself stays";
  EXPECT_EQ(line.texts.front(), "Cleaning Up");
}

TEST(Sweep, AFileHeldOpenIsAnnouncedAndStaysAndTheSweepGoesOn) {
  ScratchFolder scratch;
  const std::wstring temp = scratch / L"Temp";
  MakeFolder(temp);
  for (const wchar_t* name : {L"a.log", L"c.log"}) WriteBytes(temp + L"\\" + name, "x");
  WriteBytes(temp + L"\\busy.log", "x", FILE_ATTRIBUTE_READONLY);
  MakeFolder(temp + L"\\held");
  WriteBytes(temp + L"\\held\\open.dat", "x");
  WriteBytes(temp + L"\\held\\free.dat", "x");
  // Held as a running program holds its log: no sharing at all.
  const HANDLE busy = CreateFileW((temp + L"\\busy.log").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  const HANDLE open = CreateFileW((temp + L"\\held\\open.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
  ASSERT_NE(busy, INVALID_HANDLE_VALUE);
  ASSERT_NE(open, INVALID_HANDLE_VALUE);

  Environment environment(temp);
  ProgressLine line;
  RunCleanUp(line);
  CloseHandle(busy);
  CloseHandle(open);

  for (const char* name : {"a.log", "busy.log", "c.log", "held"}) {
    EXPECT_TRUE(line.Shows(std::string("Removing ") + name)) << name;
  }
  EXPECT_EQ(GetFileAttributesW((temp + L"\\busy.log").c_str()) & FILE_ATTRIBUTE_READONLY, 0x1u) << "still read-only";
  EXPECT_TRUE(Exists(temp + L"\\held\\open.dat"));
  EXPECT_FALSE(Exists(temp + L"\\held\\free.dat"));
  EXPECT_FALSE(Exists(temp + L"\\a.log"));
  EXPECT_FALSE(Exists(temp + L"\\c.log"));
}

TEST(Sweep, LinksToAFileOutsideGoAndTheFileKeepsItsContentAndAttributes) {
  ScratchFolder scratch;
  const std::wstring temp = scratch / L"Temp", outside = scratch / L"outside.txt";
  MakeFolder(temp);
  const DWORD attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
  WriteBytes(outside, "keep", attributes);
  ASSERT_TRUE(CreateHardLinkW((temp + L"\\hard.txt").c_str(), outside.c_str(), nullptr));
  const bool symbolic = MakeSymbolicLink(temp + L"\\symbolic.txt", outside);

  Environment environment(temp);
  ProgressLine line;
  RunCleanUp(line);

  EXPECT_FALSE(Exists(temp + L"\\hard.txt"));
  // Wine shows the link as a plain file and would delete its target through
  // it: there it stays.
  EXPECT_FALSE(symbolic && !UnderWine() && Exists(temp + L"\\symbolic.txt"));
  if (UnderWine()) OnHost("rm -f \"$1\"", {temp + L"\\symbolic.txt"});
  EXPECT_EQ(ReadBytes(outside), "keep");
  EXPECT_EQ(GetFileAttributesW(outside.c_str()) & (attributes | FILE_ATTRIBUTE_SYSTEM), attributes);
}

// A temporary folder that is a link: nothing behind it goes, the batch file
// still does.
TEST(Sweep, ATemporaryFolderThatIsALinkIsNotEmptied) {
  ScratchFolder scratch;
  const std::wstring target = scratch / L"Target", temp = scratch / L"Temp";
  MakeFolder(target);
  WriteBytes(target + L"\\keep.txt", "keep");
  WriteBytes(target + L"\\deleteoffice.bat", "x");
  ASSERT_TRUE(MakeSymbolicLink(temp, target));

  Environment environment(temp);
  ProgressLine line;
  RunCleanUp(line);

  EXPECT_EQ(ReadBytes(target + L"\\keep.txt"), "keep");
  EXPECT_FALSE(Exists(target + L"\\deleteoffice.bat"));
  if (UnderWine()) OnHost("rm -f \"$1\"", {temp});
}

std::wstring Variable(const wchar_t* name) {
  wchar_t value[MAX_PATH] = L"";
  GetEnvironmentVariableW(name, value, MAX_PATH);
  return value;
}

// The folders no temporary folder may be, whether named or reached through a
// link above it; a plain folder is accepted.
TEST(Sweep, TheSystemsFoldersAreNeverTakenForEmptying) {
  ScratchFolder scratch;
  wchar_t windows[MAX_PATH];
  GetSystemWindowsDirectoryW(windows, MAX_PATH);
  ASSERT_TRUE(MakeSymbolicLink(scratch / L"ToDrive", std::wstring(windows).substr(0, 3)));
  const auto files = platform::windows::MakeFileSystem();
  for (const std::wstring& refused :
       {std::wstring(windows), Variable(L"ProgramFiles"), Variable(L"ProgramData"), Variable(L"USERPROFILE"),
        Variable(L"PUBLIC"), Variable(L"USERPROFILE").substr(0, Variable(L"USERPROFILE").rfind(L'\\')),
        scratch / L"ToDrive", scratch / L"ToDrive\\" + std::wstring(windows).substr(3)}) {
    EXPECT_THROW(files->GetFolderToEmpty(Utf8(refused)), platform::Error) << Utf8(refused);
  }
  MakeFolder(scratch / L"Temp");
  EXPECT_NO_THROW(files->GetFolderToEmpty(Utf8(scratch / L"Temp")));
  if (UnderWine()) OnHost("rm -f \"$1\"", {scratch / L"ToDrive"});
}

}  // namespace
}  // namespace kelvane::testing
