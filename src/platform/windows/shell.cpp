#include "platform/windows/shell.h"

#include <windows.h>
#undef ExpandEnvironmentStrings

#include "platform/windows/command_line.h"
#include "platform/windows/handles.h"
#include "platform/windows/shortcut.h"
#include "platform/windows/system_library.h"
#include "platform/windows/text.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

constexpr std::int16_t kWindowStyleNormal = SW_SHOWNORMAL;

class StartedProcess final : public Process {
 public:
  explicit StartedProcess(HANDLE process) : process_(process) {}
  bool WaitForExit(unsigned timeoutMilliseconds) override {
    const DWORD result = WaitForSingleObject(process_.get(), timeoutMilliseconds);
    if (result == WAIT_FAILED) throw LastWin32Error();
    return result == WAIT_OBJECT_0;
  }

 private:
  UniqueHandle process_;
};

// A program named without a folder ("net", "shutdown") is the system's own:
// looked up in the system folder only, never in the current or the
// executable's folder, where a planted "net.exe" would run with the tool's
// rights. A path, an address or a document is started as it is.
std::wstring ProgramToStart(const std::wstring& program) {
  if (program.find_first_of(L"\\/:") != std::wstring::npos) return program;
  return SystemProgram(program);
}

// Starts the program or opens the document; returns the process handle when
// one was asked for and the system started a process.
HANDLE Execute(const CommandLine& command, std::int16_t windowStyle, bool wantProcess) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC | (wantProcess ? SEE_MASK_NOCLOSEPROCESS : 0);
  info.lpFile = command.program.c_str();
  info.lpParameters = command.parameters.empty() ? nullptr : command.parameters.c_str();
  info.nShow = windowStyle;
  if (!ShellExecuteFromSystem(&info)) throw LastWin32Error();
  return info.hProcess;
}

class WindowsShell final : public Shell {
 public:
  std::string ExpandEnvironmentStrings(const std::string& text) override {
    const std::wstring source = Widen(text);
    std::wstring expanded(source.size() + 1, L'\0');
    for (;;) {
      const DWORD length = ExpandEnvironmentStringsW(source.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
      if (length == 0) throw LastWin32Error();
      if (length <= expanded.size()) {
        expanded.resize(length - 1);  // the count includes the terminating NUL
        return Narrow(expanded);
      }
      expanded.resize(length);
    }
  }

  std::unique_ptr<Process> run(const std::string& command) override {
    CommandLine split = SplitCommandLine(Widen(command));
    split.program = ProgramToStart(split.program);
    const HANDLE process = Execute(split, kWindowStyleNormal, true);
    if (!process) return nullptr;  // handed to a running program: nothing to wait for
    return std::make_unique<StartedProcess>(process);
  }

  void run(const std::string& address, std::int16_t windowStyle) override {
    Execute(CommandLine{Widen(address), {}}, windowStyle, false);
  }

  std::unique_ptr<Shortcut> CreateShortcut(const std::string& linkPath) override { return MakeShortcut(linkPath); }
};

}  // namespace

std::unique_ptr<Shell> MakeShell() { return std::make_unique<WindowsShell>(); }

}  // namespace kelvane::platform::windows
