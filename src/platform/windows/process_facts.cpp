#include "platform/windows/process_facts.h"

#include <windows.h>
#include <aclapi.h>
#include <shellapi.h>


#include "common/text.h"
#include "platform/windows/command_splitter.h"
#include "platform/windows/handles.h"
#include "platform/windows/system_library.h"
#include "platform/windows/text.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

std::vector<std::string> ProcessArguments() {
  // shell32 is loaded on first use, from the system folder only.
  static const auto split = SystemFunction<decltype(CommandLineToArgvW)>(L"shell32.dll", "CommandLineToArgvW");
  int count = 0;
  UniqueLocal words(split(GetCommandLineW(), &count));
  if (!words) throw LastWin32Error();
  const auto* argv = static_cast<wchar_t**>(words.get());
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Narrow(argv[i]));
  return arguments;
}

std::wstring ProcessParameters() { return SplitCommandLine(GetCommandLineW()).parameters; }

namespace {

// An installation's mutex is made by the Installer's service: owned by
// SYSTEM, or by the Administrators group for an administrator's own
// installation.
bool OwnedByTheSystem(HANDLE object) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                      &descriptor) != ERROR_SUCCESS) {
    return true;  // unreadable: counted as the Installer's, as before
  }
  const bool trusted = owner && (IsWellKnownSid(owner, WinLocalSystemSid) || IsWellKnownSid(owner, WinBuiltinAdministratorsSid));
  LocalFree(descriptor);
  return trusted;
}

}  // namespace

InstallerWait WaitForInstallerMutex(unsigned timeoutMilliseconds) {
  const UniqueHandle mutex(OpenMutexW(SYNCHRONIZE | READ_CONTROL, FALSE, L"Global\\_MSIExecute"));
  if (!mutex) return InstallerWait::Idle;
  switch (WaitForSingleObject(mutex.get(), 0)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:
      // Held for a moment only: the uninstallations take it again as they
      // need it.
      ReleaseMutex(mutex.get());
      return InstallerWait::Idle;
    default:
      break;
  }
  if (!OwnedByTheSystem(mutex.get())) return InstallerWait::HeldByOther;
  switch (WaitForSingleObject(mutex.get(), timeoutMilliseconds)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:
      ReleaseMutex(mutex.get());
      return InstallerWait::Idle;
    default:
      return InstallerWait::Busy;
  }
}

std::string UtcTimeText() {
  SYSTEMTIME now{};
  GetSystemTime(&now);
  return Digits(now.wYear, 10, 4) + "-" + Digits(now.wMonth, 10, 2) + "-" + Digits(now.wDay, 10, 2) + "T" +
         Digits(now.wHour, 10, 2) + ":" + Digits(now.wMinute, 10, 2) + ":" + Digits(now.wSecond, 10, 2) + "." +
         Digits(now.wMilliseconds, 10, 3) + "Z";
}

}  // namespace kelvane::platform::windows
