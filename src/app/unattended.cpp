#include "app/unattended.h"

#include "app/exit_codes.h"
#include "app/inventory.h"
#include "files/remove_files.h"
#include "installer/scrub_installer_records.h"
#include "installer/stop_service.h"
#include "installer/uninstall_msis.h"
#include "platform/shared/installer_wait.h"
#include "platform/shared/error_box.h"
#include "platform/shared/skip_if_fails.h"
#include "registry/remove_reg_keys.h"
#include "restart/reboot.h"

namespace kelvane::app {

namespace {

// /quiet: no window shows, whatever a phase asks; its texts still reach the log.
class NoWindows final : public platform::WindowSystem {
 public:
  explicit NoWindows(platform::WindowSystem& windows) : windows_(windows) {}
  void Show(platform::Window) override {}
  void Hide(platform::Window) override {}
  void SetProgressCaption(const std::string&) override {}
  void RepaintProgress() override {}
  void ShowErrorBox(const std::string&, const std::string&) override {}
  void EndTool(int exitCode) override { windows_.EndTool(exitCode); }

 private:
  platform::WindowSystem& windows_;
};

int Remove(platform::Platform& platform, const RunOptions& options, const RunLog& log) {
  if (options.display == RunOptions::Display::Passive) platform.windows.Show(platform::Window::Loading);
  installer::StopService(platform);
  // The Installer's own log of each removal goes beside the run's.
  installer::ScrubInstallerRecords(platform,
                                   installer::UninstallMSIs(platform, {options.logFile.value_or(std::string())}));
  files::RemoveFiles(platform, files::kUnattendedRemoval);
  registry::RemoveRegKeys(platform);
  files::RemoveProgramFolder(platform, files::kUnattendedRemoval);

  // The outcome is what the inventory finds now, not what the phases meant to
  // do: anything left that no restart will take means the removal failed.
  bool anythingElseRemains = false;
  for (const std::string& trace : FindTraces(platform)) {
    if (log.HandedToRestart(TraceName(trace))) continue;
    anythingElseRemains = true;
    platform::Note("remains", TraceText(trace));
  }
  const bool needed = log.handedToRestart() > 0 || log.installerRestartsNeeded() > 0;
  const bool restart = options.restart == RunOptions::Restart::Always ||
                       (options.restart == RunOptions::Restart::AsNeeded && needed);
  if (restart) {
    // Other users' sessions are forced only when the administrator said so.
    const bool started = restart::RequestRestart(platform, options.restart == RunOptions::Restart::Always);
    if (started && !anythingElseRemains) return kExitRestartStarted;
  }
  if (anythingElseRemains) return kExitFailed;
  return needed ? kExitRestartRequired : kExitDone;
}

}  // namespace

int RemoveUnattended(platform::Platform& platform, const RunOptions& options, const RunLog& log) {
  if (platform.kernel.TokenElevation() != platform::Elevation::Full) {
    platform::Note("error", "an administrator's token is needed; nothing was changed");
    return kExitAccessDenied;
  }
  if (!platform::InstallerIdle(platform.kernel, kInstallerWaitMilliseconds)) {
    platform::Note("error", "another installation is in progress; nothing was changed");
    return kExitInstallerBusy;
  }
  NoWindows noWindows(platform.windows);
  platform::Platform phases{platform.objects, platform.kernel,
                            options.display == RunOptions::Display::Quiet ? noWindows : platform.windows};
  try {
    return Remove(phases, options, log);
  } catch (const platform::Error& error) {
    // What the windowed tool would show in its error box.
    platform::Note("error", platform::ErrorNumberText(error) + " " + error.description());
    return kExitFailed;
  }
}

}  // namespace kelvane::app
