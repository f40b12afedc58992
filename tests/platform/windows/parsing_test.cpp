#include <gtest/gtest.h>

#include "platform/interface/error.h"
#include "platform/shared/collapse_separators.h"
#include "platform/windows/command_splitter.h"
#include "platform/windows/moniker.h"

namespace kelvane::testing {
namespace {

using platform::CollapseSeparators;
using platform::windows::ParseMoniker;
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

TEST(Moniker, ThePiecesOfTheRegistryMoniker) {
  const auto parsed = ParseMoniker("winmgmts:{impersonationLevel=impersonate}!\\\\.\\root\\default:StdRegProv");
  EXPECT_EQ(parsed.machine, ".");
  EXPECT_EQ(parsed.nameSpace, "root\\default");
  EXPECT_EQ(parsed.className, "StdRegProv");
  const auto services = ParseMoniker("WINMGMTS:{ImpersonationLevel=Impersonate}!\\\\.\\root\\cimv2");
  EXPECT_EQ(services.nameSpace, "root\\cimv2");
  EXPECT_EQ(services.className, "");
}

TEST(Moniker, MalformedMonikersFail) {
  for (const char* moniker : {"", "winmgmts:", "winmgmts:{impersonationLevel=impersonate}\\\\.\\root\\cimv2",
                              "winmgmts:{impersonationLevel=impersonate!\\\\.\\root\\cimv2",
                              "winmgmts:{impersonationLevel=anonymous}!\\\\.\\root\\cimv2", "winmgmts:\\\\\\root",
                              "winmgmts:\\\\.\\root\\default:", "winmgmts:\\\\.", "GetObject:\\\\.\\root\\cimv2"}) {
    EXPECT_THROW(ParseMoniker(moniker), platform::Error) << moniker;
  }
}

}  // namespace
}  // namespace kelvane::testing
