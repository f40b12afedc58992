#include "platform/windows/windows_shell.h"

#include <gtest/gtest.h>

#include "platform/interface/error.h"
#include "platform/windows/known_folders.h"
#include "platform/windows/text.h"
#include "platform/windows/windows_api.h"
#include "scratch.h"

namespace kelvane::testing {
namespace {

using platform::Error;
using platform::windows::KnownFolder;
using platform::windows::MakeShell;

// Built by appending: GCC 12 warns falsely on "literal" + std::string&&.
std::string Quoted(const std::wstring& path) {
  std::string quoted(1, '"');
  quoted.append(Utf8(path)).push_back('"');
  return quoted;
}

TEST(Expansion, ReplacesTheReferenceAndKeepsTheRest) {
  SetEnvironmentVariableW(L"KELVANE_TEST_VALUE", L"C:\\Gr\u00fc\u00dfe");
  const auto shell = MakeShell();
  EXPECT_EQ(shell->ExpandEnvironmentStrings("%KELVANE_TEST_VALUE%\\Start Menu"), "C:\\Gr\xC3\xBC\xC3\x9F" "e\\Start Menu");
  EXPECT_EQ(shell->ExpandEnvironmentStrings("%KELVANE_NOT_SET%"), "%KELVANE_NOT_SET%");
  EXPECT_EQ(shell->ExpandEnvironmentStrings(""), "");
}

TEST(Expansion, ValuesLongerThanTheTextAreWhole) {
  const std::wstring value(3000, L'v');
  SetEnvironmentVariableW(L"KELVANE_TEST_LONG", value.c_str());
  EXPECT_EQ(MakeShell()->ExpandEnvironmentStrings("%KELVANE_TEST_LONG%"), std::string(3000, 'v'));
}

TEST(Expansion, TheTemporaryFolderHasNoTrailingBackslash) {
  const std::string temp = MakeShell()->ExpandEnvironmentStrings("%temp%");
  ASSERT_FALSE(temp.empty());
  EXPECT_NE(temp.back(), '\\');
  EXPECT_TRUE(Exists(platform::windows::Widen(temp)));
}

// A user's environment can point these anywhere; the tool takes the system's.
TEST(Expansion, MachineWideFoldersAreTheSystemsWhateverTheEnvironmentSays) {
  for (const wchar_t* name : {L"ProgramFiles", L"CommonProgramFiles", L"ALLUSERSPROFILE", L"ProgramData"}) {
    SetEnvironmentVariableW(name, L"C:\\Planted");
  }
  const auto shell = MakeShell();
  EXPECT_EQ(shell->ExpandEnvironmentStrings("%programfiles%\\Microsoft Office"),
            Utf8(KnownFolder(FOLDERID_ProgramFiles)) + "\\Microsoft Office");
  EXPECT_EQ(shell->ExpandEnvironmentStrings("%CommonProgramFiles%"), Utf8(KnownFolder(FOLDERID_ProgramFilesCommon)));
  EXPECT_EQ(shell->ExpandEnvironmentStrings("%AllUsersprofile%|%ProgramData%"),
            Utf8(KnownFolder(FOLDERID_ProgramData)) + "|" + Utf8(KnownFolder(FOLDERID_ProgramData)));
  EXPECT_EQ(shell->ExpandEnvironmentStrings("100%|%KELVANE_NOT_SET%%programfiles%%"),
            "100%|%KELVANE_NOT_SET%" + Utf8(KnownFolder(FOLDERID_ProgramFiles)) + "%");
  for (const auto& [name, folder] : {std::pair{L"ProgramFiles", FOLDERID_ProgramFiles},
                                     {L"CommonProgramFiles", FOLDERID_ProgramFilesCommon},
                                     {L"ALLUSERSPROFILE", FOLDERID_ProgramData}, {L"ProgramData", FOLDERID_ProgramData}}) {
    SetEnvironmentVariableW(name, KnownFolder(folder).c_str());
  }
}

TEST(Run, ACommandLineIsSplitIntoProgramAndArguments) {
  ScratchFolder scratch;
  const std::wstring marker = scratch / L"out.txt";
  const auto process = MakeShell()->run("cmd /c echo stopped> " + Quoted(marker));
  ASSERT_TRUE(process);
  EXPECT_TRUE(process->WaitForExit(30000));
  EXPECT_EQ(ReadBytes(marker), "stopped\r\n");
}

// What the user's own classes say a program or batch file opens with never
// runs: programs start by their paths.
TEST(Run, NoPerUserFileTypeIsConsulted) {
  ScratchFolder scratch;
  const std::wstring marker = scratch / L"per-user.txt", command = L"cmd /c echo ran> \"" + marker + L"\"";
  for (const wchar_t* type : {L"batfile", L"cmdfile", L"exefile"}) {
    const std::wstring key = std::wstring(L"Software\\Classes\\") + type + L"\\shell\\open\\command";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), nullptr, REG_SZ, command.c_str(),
                              static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }
  WriteBytes(scratch / L"task.bat", "@echo batch> \"%~dp0batch.txt\"\r\n");
  WriteBytes(scratch / L"notes.txt", "x");
  const auto shell = MakeShell();
  for (const std::string& started : {std::string("net"), Quoted(scratch / L"task.bat")}) {
    const auto process = shell->run(started);
    ASSERT_TRUE(process);
    EXPECT_TRUE(process->WaitForExit(30000)) << started;
  }
  EXPECT_EQ(ReadBytes(scratch / L"batch.txt"), "batch\r\n");
  // Only programs and batch files, by absolute path.
  for (const std::string& refused : {Quoted(scratch / L"notes.txt"), std::string("task.bat"), std::string("sub\\task.bat")}) {
    EXPECT_THROW(shell->run(refused), Error) << refused;
  }
  for (const wchar_t* type : {L"batfile", L"cmdfile", L"exefile"}) {
    RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Classes\\") + type).c_str());
  }
  EXPECT_FALSE(Exists(marker));
}

// An address opens through the desktop shell's own process or not at all:
// where the shell cannot be asked, the tool never opens it itself.
TEST(Run, AnAddressOpensThroughTheDesktopShellOrFailsWithoutOpening) {
  ScratchFolder scratch;
  const wchar_t* key = L"Software\\Classes\\kelvane-test-scheme";
  const std::wstring command = L"cmd /c echo opened> \"" + (scratch / L"opened") + L"\"";
  ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, (std::wstring(key) + L"\\shell\\open\\command").c_str(), nullptr, REG_SZ,
                            command.c_str(), static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  long failure = 0;
  try {
    MakeShell()->run("kelvane-test-scheme:page", SW_SHOWMINNOACTIVE);
  } catch (const Error& error) {
    failure = error.number();
  }
  for (int wait = 0; wait < 50 && !failure && !Exists(scratch / L"opened"); ++wait) Sleep(100);
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
  if (failure) {
    EXPECT_EQ(failure, platform::kCannotOpenAsUser);
    Sleep(1000);
    EXPECT_FALSE(Exists(scratch / L"opened"));
  } else {
    EXPECT_TRUE(Exists(scratch / L"opened"));
  }
}

TEST(Run, AnAddressOpensWithItsDefaultHandler) {
  ScratchFolder scratch;
  const std::wstring document = scratch / L"open me.bat";
  WriteBytes(document, "@echo opened> \"%~dp0opened.txt\"\r\n");
  MakeShell()->run(Utf8(document), platform::kWindowStyleMaximized);
  for (int wait = 0; wait < 300 && !Exists(scratch / L"opened.txt"); ++wait) Sleep(100);
  EXPECT_TRUE(Exists(scratch / L"opened.txt"));
}

}  // namespace
}  // namespace kelvane::testing
