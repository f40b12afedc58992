#include <gtest/gtest.h>

#include <future>
#include <thread>
#include <vector>

#include "platform/interface/error.h"
#include "platform/windows/elevation.h"
#include "platform/windows/process_facts.h"
#include "platform/windows/restart_request.h"
#include "platform/windows/running_image.h"
#include "platform/windows/windows_file_system.h"
#include "platform/windows/user_rights.h"
#include "platform/windows/win_error.h"
#include "platform/windows/windows_network.h"
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
  wchar_t own[MAX_PATH] = L"";
  ASSERT_GT(GetModuleFileNameW(nullptr, own, MAX_PATH), 0u);
  EXPECT_EQ(path, Utf8(own));
  EXPECT_EQ(path.find('\0'), std::string::npos);
}

// Wine runs every process with an administrator's full token, which the
// tool takes as it is; the relaunch itself is tried on a probe program.
TEST(Elevation, AFullTokenRunsAsItIsAndARelaunchStartsTheProgramInTheFolderGiven) {
  EXPECT_EQ(platform::windows::MakeKernel()->TokenElevation(), platform::Elevation::Full);
  wchar_t marker[MAX_PATH] = {};
  ExpandEnvironmentStringsW(L"%TEMP%\\kelvane-relaunch-probe.txt", marker, MAX_PATH);
  DeleteFileW(marker);
  const ScratchFolder folder;
  platform::windows::StartProgramElevated(KELVANE_RELAUNCH_PROBE, L"", folder.path());
  for (int wait = 0; wait < 100 && !Exists(marker); ++wait) ::Sleep(100);
  ::Sleep(100);  // the probe's write is done once it has closed the file
  const std::string written = ReadBytes(marker);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(written.data()), written.size() / sizeof(wchar_t)),
            folder.path());
  DeleteFileW(marker);
  EXPECT_THROW(platform::windows::StartProgramElevated(folder / L"missing.exe", L"", folder.path()), platform::Error);
}

// Wine shows no split token, so the decision is held to synthetic tokens:
// only the full half of a split acts as the user, and what it disables is
// exactly what the limited half lacks or holds to deny.
TEST(Impersonation, OnlyASplitFullTokenActsAsTheUserWithoutWhatUacFiltered) {
  using platform::windows::UserRights;
  using platform::windows::UserRightsFor;
  EXPECT_EQ(UserRightsFor(TokenElevationTypeFull, true), UserRights::Linked);
  EXPECT_EQ(UserRightsFor(TokenElevationTypeFull, false), UserRights::Lacking);
  EXPECT_EQ(UserRightsFor(TokenElevationTypeDefault, false), UserRights::Own);
  EXPECT_EQ(UserRightsFor(TokenElevationTypeLimited, true), UserRights::Own);
  constexpr DWORD kEnabled = SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED;
  const std::vector<platform::windows::TokenGroup> ours = {
      {L"S-1-1-0", kEnabled}, {L"S-1-5-32-544", kEnabled | SE_GROUP_OWNER}, {L"S-1-5-32-551", kEnabled},
      {L"S-1-5-114", SE_GROUP_USE_FOR_DENY_ONLY}, {L"S-1-5-32-545", 0},
      {L"S-1-16-12288", SE_GROUP_INTEGRITY | SE_GROUP_INTEGRITY_ENABLED | SE_GROUP_ENABLED}};
  const std::vector<platform::windows::TokenGroup> linked = {
      {L"s-1-1-0", kEnabled}, {L"S-1-5-32-544", SE_GROUP_USE_FOR_DENY_ONLY}, {L"S-1-5-114", SE_GROUP_USE_FOR_DENY_ONLY},
      {L"S-1-16-8192", SE_GROUP_INTEGRITY | SE_GROUP_INTEGRITY_ENABLED}};
  EXPECT_EQ(platform::windows::GroupsToDisable(ours, linked), (std::vector<std::wstring>{L"S-1-5-32-544", L"S-1-5-32-551"}));
  EXPECT_TRUE(platform::windows::GroupsToDisable(ours, ours).empty());
}

// Wine links a limited token to every process with the same groups: the
// thread impersonates, without privileges (Wine keeps them all), then
// reverts.
TEST(Impersonation, TheThreadActsWithoutPrivilegesUntilReleased) {
  HANDLE token = nullptr;
  {
    const auto user = platform::windows::MakeKernel()->ImpersonateUser();
    ASSERT_TRUE(OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token));
    std::vector<LONGLONG> privileges(512);
    DWORD size = 0;
    ASSERT_TRUE(GetTokenInformation(token, TokenPrivileges, privileges.data(), 512 * sizeof(LONGLONG), &size));
    const DWORD kept = reinterpret_cast<const TOKEN_PRIVILEGES*>(privileges.data())->PrivilegeCount;
    EXPECT_TRUE(UnderWine() || kept <= 1u) << kept;  // SeChangeNotify
    CloseHandle(token);
    const ScratchFolder scratch;  // the user's own folder is still the user's to change
    WriteBytes(scratch / L"made as the user.txt", "x");
  }
  EXPECT_FALSE(OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_TOKEN));
}

// Measured with the performance counter: GetTickCount64 moves in steps of a
// scheduler tick (about 16 ms), and Sleep itself may end up to one tick early,
// so the bound leaves one tick of slack.
// A call that failed without a code of its own is still a failure; WMI's own
// codes, in no system message table, are described by WMI.
TEST(Errors, AFailureWithoutACodeIsEFailAndWmiCodesHaveDescriptions) {
  SetLastError(ERROR_SUCCESS);
  const platform::Error none = platform::windows::LastWin32Error();
  EXPECT_EQ(none.number(), static_cast<long>(E_FAIL));
  EXPECT_EQ(none.description().find("successfully"), std::string::npos) << none.description();
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  EXPECT_NE(platform::windows::ErrorFromHresult(static_cast<HRESULT>(0x80041002L)).description(), "Unknown error");
  if (SUCCEEDED(com)) CoUninitialize();
}

// Only what the request asks for is checked here: asking would restart the
// machine the tests run on.
TEST(Restart, OnlyAForcedRestartClosesSessionsAndTheReasonIsAPlannedInstallation) {
  EXPECT_EQ(platform::windows::RestartShutdownFlags(false), static_cast<DWORD>(SHUTDOWN_RESTART));
  EXPECT_EQ(platform::windows::RestartShutdownFlags(true), static_cast<DWORD>(SHUTDOWN_RESTART | SHUTDOWN_FORCE_OTHERS | SHUTDOWN_FORCE_SELF));
  EXPECT_EQ(platform::windows::kRestartReason, 0x80040002u);
}

// "_MSIExecute" held on another thread, owned by the process's user (as an
// ordinary user's process would own it) or by the Administrators group (as
// an installation's is).
class HeldInstallerMutex {
 public:
  explicit HeldInstallerMutex(bool ownedByUser) {
    holder_ = std::thread([this, ownedByUser] {
      std::vector<BYTE> user(SECURITY_MAX_SID_SIZE);
      DWORD size = static_cast<DWORD>(user.size());
      if (ownedByUser) {
        HANDLE token = nullptr;
        OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
        std::vector<BYTE> info(256);
        DWORD needed = 0;
        GetTokenInformation(token, TokenUser, info.data(), static_cast<DWORD>(info.size()), &needed);
        CopySid(size, user.data(), reinterpret_cast<TOKEN_USER*>(info.data())->User.Sid);
        CloseHandle(token);
      } else {
        CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, user.data(), &size);
      }
      SECURITY_DESCRIPTOR descriptor;
      InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
      SetSecurityDescriptorOwner(&descriptor, user.data(), FALSE);
      SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
      SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
      HANDLE mutex = CreateMutexW(&attributes, TRUE, L"Global\\_MSIExecute");
      held_.set_value();
      release_.get_future().wait();
      ReleaseMutex(mutex);
      CloseHandle(mutex);
    });
    held_.get_future().wait();
  }
  ~HeldInstallerMutex() {
    release_.set_value();
    holder_.join();
  }

 private:
  std::promise<void> held_, release_;
  std::thread holder_;
};

TEST(Kernel, OnlyAnInstallerMutexOwnedBySystemOrAdministratorsCountsAsAnInstallation) {
  using platform::InstallerWait;
  EXPECT_EQ(platform::windows::WaitForInstallerMutex(0), InstallerWait::Idle);
  {
    const HeldInstallerMutex installation(false);
    EXPECT_EQ(platform::windows::WaitForInstallerMutex(0), InstallerWait::Busy);
  }
  const HeldInstallerMutex planted(true);
  EXPECT_EQ(platform::windows::WaitForInstallerMutex(0), InstallerWait::HeldByOther);
}

// The running program's file is held from start-up: nothing renames it
// away, and its copy comes from the held file, byte for byte.
TEST(RunningImage, IsHeldAgainstRenamingAndCopiedFromTheHandle) {
  platform::windows::PinRunningImage();
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_FALSE(MoveFileW(self, (std::wstring(self) + L".moved").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  const ScratchFolder scratch;
  platform::windows::MakeFileSystem()->CopyFile(Utf8(self), Utf8(scratch / L"copy.exe"));
  EXPECT_EQ(ReadBytes(scratch / L"copy.exe"), ReadBytes(self));
}

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
