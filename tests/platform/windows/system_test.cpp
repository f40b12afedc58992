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

// Measured with the performance counter: GetTickCount64 moves in steps of a
// scheduler tick (about 16 ms), and Sleep itself may end up to one tick early,
// so the bound leaves one tick of slack.
TEST(Kernel, SleepBlocksForTheGivenTime) {
  LARGE_INTEGER frequency{}, start{}, end{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  platform::windows::MakeKernel()->Sleep(300);
  QueryPerformanceCounter(&end);
  const auto elapsedMs = (end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart;
  EXPECT_GE(elapsedMs, 300 - 20);
}

}  // namespace
}  // namespace kelvane::testing
