#include "platform/windows/restart_request.h"

namespace kelvane::platform::windows {

namespace {

// An administrator's token holds the privilege, disabled until asked for.
void EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  }
  CloseHandle(token);
}

}  // namespace

DWORD RestartShutdownFlags(bool force) {
  return SHUTDOWN_RESTART | (force ? SHUTDOWN_FORCE_OTHERS | SHUTDOWN_FORCE_SELF : 0);
}

long RequestMachineRestart(unsigned gracePeriodSeconds, bool force) {
  EnableShutdownPrivilege();
  return static_cast<long>(
      InitiateShutdownW(nullptr, nullptr, gracePeriodSeconds, RestartShutdownFlags(force), kRestartReason));
}

}  // namespace kelvane::platform::windows
