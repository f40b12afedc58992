#include "restart/setup_reboot.h"

#include "common/resume_state.h"
#include "platform/shared/progress.h"
#include "platform/shared/skip_if_fails.h"
#include "restart/resume_place.h"

namespace kelvane::restart {

using platform::Require;

void SetupReboot(platform::Platform& platform) {
  ShowProgress(platform.windows, "Finalizing some tasks before reboot..");
  const auto shell = platform.objects.CreateShell();
  const auto fso = platform.objects.CreateFileSystem();
  // Read whole and in Unicode: a cut or mangled target would start nothing.
  const std::string executablePath = platform.kernel.ExecutablePath();
  // The shortcut starts a copy only administrators can change, never the
  // downloaded file, which anything the user runs could replace before the
  // next log-on; the record is written before the shortcut, so a shortcut
  // that cannot be saved still leaves the next start a resumed run.
  const ResumePlace place(Require(shell));
  const std::string copy = place.InstallCopy(Require(fso), executablePath);
  place.RecordResume(*fso, platform.kernel.UserSid());
  const std::string startupFolder = shell->ExpandEnvironmentStrings(kAllUsersReference) + kStartupTail;
  const auto shortcut = shell->CreateShortcut(startupFolder + kShortcutTail);
  Require(shortcut).SetTargetPath(copy);
  shortcut->SetWindowStyle(kShortcutWindowStyle);
  shortcut->Save();
}

}  // namespace kelvane::restart
