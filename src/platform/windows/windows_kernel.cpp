#include <windows.h>

#include "platform/windows/elevation.h"
#include "platform/windows/process_facts.h"
#include "platform/windows/restart_request.h"
#include "platform/windows/system_folders.h"
#include "platform/windows/text.h"
#include "platform/windows/user_rights.h"
#include "platform/windows/win_error.h"
#include "platform/windows/windows_platform.h"

namespace kelvane::platform::windows {

namespace {

// Deliberately small at first: the buffer grows until the path fits whole.
constexpr std::size_t kFirstPathBuffer = 64;
constexpr std::size_t kLongestPath = 32768;

std::wstring ModulePath() {
  std::wstring path(kFirstPathBuffer, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw LastWin32Error();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= kLongestPath) throw ErrorFromWin32(ERROR_INSUFFICIENT_BUFFER);
    path.resize(path.size() * 2);
  }
}

std::wstring CurrentFolder() {
  std::wstring folder(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
    if (length == 0) throw LastWin32Error();
    // Too small a buffer: the length returned counts the terminating null.
    const bool fits = length < folder.size();
    folder.resize(length);
    if (fits) return folder;
  }
}

class WindowsKernel final : public Kernel {
 public:
  std::string ExecutablePath() override { return Narrow(ModulePath()); }

  void Sleep(unsigned milliseconds) override { ::Sleep(milliseconds); }

  Elevation TokenElevation() override { return CurrentTokenElevation(); }

  std::string UserSid() override { return CurrentUserSid(); }

  // The same switches again: a /log asked for in the window is kept.
  void StartElevated() override { StartProgramElevated(ModulePath(), ProcessParameters(), CurrentFolder()); }

  std::unique_ptr<Impersonation> ImpersonateUser() override { return ImpersonateUserOnThisThread(); }

  std::vector<std::string> Arguments() override { return ProcessArguments(); }

  InstallerWait WaitForInstaller(unsigned timeoutMilliseconds) override { return WaitForInstallerMutex(timeoutMilliseconds); }

  std::string UtcTime() override { return UtcTimeText(); }
  unsigned long ProcessId() override { return GetCurrentProcessId(); }
  void WriteStandardOutputLine(const std::string& text) override {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!out || out == INVALID_HANDLE_VALUE) return;
    const DWORD type = GetFileType(out);
    if (type != FILE_TYPE_DISK && type != FILE_TYPE_PIPE) return;
    const std::string line = text + "\r\n";
    DWORD written = 0;
    WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  }
  long RequestRestart(unsigned gracePeriodSeconds, bool force) override {
    return RequestMachineRestart(gracePeriodSeconds, force);
  }
  std::vector<EditionView> EditionViews() override { return SystemEditionViews(); }
};

}  // namespace

std::unique_ptr<Kernel> MakeKernel() { return std::make_unique<WindowsKernel>(); }

}  // namespace kelvane::platform::windows
