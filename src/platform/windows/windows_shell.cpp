#include "platform/windows/windows_shell.h"

#include "platform/windows/windows_api.h"

#include "platform/windows/address_open.h"
#include "platform/shared/environment_references.h"
#include "platform/windows/environment.h"
#include "platform/windows/handles.h"
#include "platform/windows/program_start.h"
#include "platform/windows/shortcut.h"
#include "platform/windows/text.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

class StartedProcess final : public Process {
 public:
  explicit StartedProcess(UniqueHandle process) : process_(std::move(process)) {}
  bool WaitForExit(unsigned timeoutMilliseconds) override {
    const DWORD result = WaitForSingleObject(process_.get(), timeoutMilliseconds);
    if (result == WAIT_FAILED) throw LastWin32Error();
    return result == WAIT_OBJECT_0;
  }

 private:
  UniqueHandle process_;
};

class WindowsShell final : public Shell {
 public:
  // The machine-wide folders are the system's, whatever the environment
  // says; every other reference is the environment's.
  std::string ExpandEnvironmentStrings(const std::string& text) override {
    return ExpandReferences(text, [](std::string_view name) {
      std::optional<std::string> value = MachineFolderValue(name);
      return value ? value : EnvironmentValue(name);
    });
  }

  std::unique_ptr<Process> run(const std::string& command) override {
    return std::make_unique<StartedProcess>(StartProgram(Widen(command)));
  }

  void run(const std::string& address, std::int16_t windowStyle) override {
    OpenAddressAsUser(Widen(address), windowStyle);
  }

  std::unique_ptr<Shortcut> CreateShortcut(const std::string& linkPath) override { return MakeShortcut(linkPath); }
};

}  // namespace

std::unique_ptr<Shell> MakeShell() { return std::make_unique<WindowsShell>(); }

}  // namespace kelvane::platform::windows
