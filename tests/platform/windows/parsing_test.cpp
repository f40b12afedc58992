#include <gtest/gtest.h>

#include "platform/interface/error.h"
#include "platform/shared/collapse_separators.h"
#include "platform/windows/command_splitter.h"

namespace kelvane::testing {
namespace {

using platform::CollapseSeparators;
using platform::windows::SplitCommandLine;

TEST(CommandLine, AQuotedProgramRunsToTheClosingQuote) {
  const auto split = SplitCommandLine(L"\"C:\\Documents and Settings\\Temp\\deleteoffice.bat\"");
  EXPECT_EQ(split.program, L"C:\\Documents and Settings\\Temp\\deleteoffice.bat");
  EXPECT_EQ(split.parameters, L"");
}

TEST(CommandLine, AnUnquotedProgramEndsAtTheFirstBlank) {
  const auto split = SplitCommandLine(L"shutdown -r -t 10 -f");
  EXPECT_EQ(split.program, L"shutdown");
  EXPECT_EQ(split.parameters, L"-r -t 10 -f");
  EXPECT_EQ(SplitCommandLine(L"  net   stop ose").parameters, L"stop ose");
  EXPECT_EQ(SplitCommandLine(L"\"a b.bat\"  \"x y\" z").parameters, L"\"x y\" z");
}

TEST(KeyPath, RunsOfBackslashesAreOneAndATrailingOneGoes) {
  EXPECT_EQ(CollapseSeparators("SOFTWARE\\Microsoft\\Office\\14.0\\"), "SOFTWARE\\Microsoft\\Office\\14.0");
  EXPECT_EQ(CollapseSeparators("Installer\\\\Products\\\\\\X"), "Installer\\Products\\X");
  EXPECT_EQ(CollapseSeparators("Plain"), "Plain");
}

}  // namespace
}  // namespace kelvane::testing
