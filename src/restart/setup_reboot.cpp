#include "restart/setup_reboot.h"

#include "common/resume_state.h"
#include "platform/skip.h"

namespace kelvane::restart {

using platform::Require;

void SetupReboot(platform::Platform& platform) {
  ShowProgress(platform.windows, "Finalizing some tasks before reboot..");
  const auto shell = platform.objects.CreateShell();
  // Read whole and in Unicode: a cut or mangled target would start nothing.
  const std::string executablePath = platform.kernel.ExecutablePath();
  const std::string startupFolder = Require(shell).ExpandEnvironmentStrings(kAllUsersReference) + kStartupTail;
  const auto shortcut = shell->CreateShortcut(startupFolder + kShortcutTail);
  Require(shortcut).SetTargetPath(executablePath);
  shortcut->SetWindowStyle(kShortcutWindowStyle);
  shortcut->Save();
}

}  // namespace kelvane::restart
