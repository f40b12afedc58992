#include "platform/windows/shell.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/windows/text.h"
#include "scratch.h"

#undef ExpandEnvironmentStrings  // the interface's own name

namespace kelvane::testing {
namespace {

using platform::Error;
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


TEST(Run, ACommandLineIsSplitIntoProgramAndArguments) {
  ScratchFolder scratch;
  const std::wstring marker = scratch / L"out.txt";
  const auto process = MakeShell()->run("cmd /c echo stopped> " + Quoted(marker));
  ASSERT_TRUE(process);
  EXPECT_TRUE(process->WaitForExit(30000));
  EXPECT_EQ(ReadBytes(marker), "stopped\r\n");
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
