#include <gtest/gtest.h>

#include "platform/windows/network.h"
#include "platform/windows/windows_platform.h"
#include "scratch.h"

namespace kelvane::testing {
namespace {

TEST(Network, ComputerNameIsTheSystemsName) {
  const std::string name = platform::windows::MakeNetwork()->ComputerName();
  wchar_t variable[256] = {};
  ASSERT_GT(GetEnvironmentVariableW(L"COMPUTERNAME", variable, 256), 0u);
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(name, Utf8(variable));
}

TEST(Kernel, ExecutablePathIsWholeAndNamesThisProgram) {
  const std::string path = platform::windows::MakeKernel()->ExecutablePath();
  ASSERT_GT(path.size(), 4u);
  EXPECT_EQ(path.substr(path.size() - 4), ".exe");
  EXPECT_EQ(path.find('\0'), std::string::npos);
  const std::wstring wide(path.begin(), path.end());
  EXPECT_TRUE(Exists(wide)) << path;
}

TEST(Kernel, SleepBlocksForTheGivenTime) {
  const ULONGLONG start = GetTickCount64();
  platform::windows::MakeKernel()->Sleep(300);
  EXPECT_GE(GetTickCount64() - start, 290u);
}

}  // namespace
}  // namespace kelvane::testing
