#include "app/kelvane.h"

#include "app/exit_codes.h"
#include "app/inventory.h"
#include "app/unattended.h"
#include "common/resume_state.h"
#include "files/clean_up.h"
#include "files/remove_files.h"
#include "installer/scrub_installer_records.h"
#include "installer/stop_service.h"
#include "installer/uninstall_msis.h"
#include "platform/shared/addresses.h"
#include "platform/shared/error_box.h"
#include "platform/shared/progress.h"
#include "platform/shared/skip_if_fails.h"
#include "platform/shared/window_model.h"
#include "registry/remove_reg_keys.h"
#include "restart/reboot.h"
#include "restart/resume_place.h"
#include "restart/setup_reboot.h"

namespace kelvane::app {

using platform::Control;
using platform::Require;
using platform::SkipIfFails;
using platform::Window;

void Kelvane::RemoveFiles() { files::RemoveFiles(platform_); }
void Kelvane::RemoveRegKeys() { registry::RemoveRegKeys(platform_); }
void Kelvane::StopService() { installer::StopService(platform_); }
void Kelvane::UninstallMSIs() {
  installer::ScrubInstallerRecords(platform_,
                                   installer::UninstallMSIs(platform_, {options_.logFile.value_or(std::string())}));
}
void Kelvane::CleanUp() { files::CleanUp(platform_); }
void Kelvane::SetupReboot() { restart::SetupReboot(platform_); }
void Kelvane::Reboot() { restart::Reboot(platform_); }

template <class Handler>
bool Kelvane::Handle(Handler&& handler) {
  const platform::JournalScope journal(log_);
  try {
    handler();
    return true;
  } catch (const platform::Error& error) {
    platform::Note("error", platform::ErrorNumberText(error) + " " + error.description());
    try {
      platform_.windows.ShowErrorBox(platform::kApplicationTitle, platform::ErrorBoxText(error));
    } catch (const platform::Error&) {
      // The tool ends all the same when not even the box can be shown.
    }
    End(kExitDone);
    return false;
  }
}

void Kelvane::End(int exitCode) {
  const platform::JournalScope journal(log_);
  platform::Note("exit", std::to_string(exitCode));
  platform_.windows.EndTool(exitCode);
}

bool Kelvane::ReadCommandLine() {
  std::vector<std::string> arguments;
  platform::SkipIfFails([&] { arguments = platform_.kernel.Arguments(); });
  const ParsedCommandLine parsed = ParseCommandLine(arguments);
  options_ = parsed.options.value_or(RunOptions{});
  const auto fail = [&](int exitCode, const std::string& why) {
    if (!parsed.silent) {
      platform::SkipIfFails([&] { platform_.windows.ShowErrorBox(platform::kApplicationTitle, why + "\n\n" + kUsageText); });
    }
    platform_.windows.EndTool(exitCode);
    return false;
  };
  if (!parsed.options) return fail(kExitBadCommandLine, parsed.error);
  if (options_.logFile) {
    try {
      log_.Open(platform::Require(platform_.objects.CreateFileSystem()), *options_.logFile);
    } catch (const platform::Error& error) {
      return fail(kExitLogFailed, "The log cannot be opened: " + *options_.logFile + "\n" + error.description());
    }
  } else if (options_.Unattended() || options_.check) {
    // Nobody watches an unattended run: it leaves a record anyway.
    platform::SkipIfFails([&] {
      options_.logFile = log_.OpenDefault(platform::Require(platform_.objects.CreateFileSystem()));
    });
  }
  const platform::JournalScope journal(log_);
  std::string commandLine;
  for (const auto& argument : arguments) commandLine += (commandLine.empty() ? "" : " ") + argument;
  platform::Note("start", commandLine.empty() ? "(no arguments)" : commandLine);
  return true;
}

void Kelvane::Start() {
  if (!ReadCommandLine()) return;
  if (options_.check) {
    const platform::JournalScope journal(log_);
    End(CheckTraces(platform_));
  } else if (options_.Unattended()) {
    const platform::JournalScope journal(log_);
    End(RemoveUnattended(platform_, options_, log_));
  } else {
    StartWindowed();
  }
}

void Kelvane::StartWindowed() {
  // An administrator whose rights User Account Control holds back would
  // remove only the user's own traces, fail on every machine-wide one and
  // then report success: start again with the full rights, and end. Declined,
  // the error box ends the tool before anything is changed, so a resumed run
  // keeps its record and shortcut and asks again at the next log-on.
  if (platform_.kernel.TokenElevation() == platform::Elevation::Limited) {
    if (Handle([&] { platform_.kernel.StartElevated(); })) End(kExitDone);
    return;
  }
  bool firstRun = false;
  if (!Handle([&] { firstRun = Load(); })) return;
  if (firstRun) Handle([&] { platform_.windows.Show(Window::Kelvane); });
}

bool Kelvane::Load() {
  const auto shell = platform_.objects.CreateShell();
  const auto fso = platform_.objects.CreateFileSystem();
  const restart::ResumePlace place(Require(shell));
  if (!place.ResumeDue(Require(fso))) {
    // Started by its Startup shortcut with no resumed run due (the record
    // went, or the run was finished by another start): the shortcut and the
    // copy go, and nobody is shown a window at every log-on.
    if (!StartedFrom(place)) return true;
    files::RemoveStartup(platform_);
    End(kExitDone);
    return false;
  }
  ResumeAfterRestart(place, Require(fso));
  return false;
}

void Kelvane::ResumeAfterRestart(const restart::ResumePlace& place, platform::FileSystem& fso) {
  // The shortcut lies in the common Startup folder, so whoever logs on first
  // starts it. The run is the user's who pressed Go; another administrator
  // finishes only the machine's own part, and a standard user, who could
  // change none of it, is shown nothing and changes nothing, so the record
  // and the shortcut wait for a log-on that can finish.
  std::string user;
  SkipIfFails([&] { user = platform_.kernel.UserSid(); });
  const std::string owner = place.RecordedUser(fso);
  const bool ownRun = !owner.empty() && owner == user;
  if (!ownRun && platform_.kernel.TokenElevation() != platform::Elevation::Full) {
    End(kExitDone);
    return;
  }

  platform_.windows.Hide(Window::Kelvane);
  platform_.windows.Show(Window::Loading);
  files::RemoveProgramFolder(platform_);
  if (ownRun) {
    RemoveFiles();
    CleanUp();
  } else {
    files::RemoveFiles(platform_, files::kMachineWideRemoval);
    SkipIfFails([&] { ShowProgress(platform_.windows, "Cleaning Up"); });
    files::RemoveStartup(platform_);
  }
  platform_.windows.Hide(Window::Loading);
  ShowOutcome(ownRun);
}

void Kelvane::ShowOutcome(bool usersOwn) {
  // What the inventory finds now, less what the next start deletes. The
  // label has room for one line: the items are listed in a box once the
  // person has seen the window and pressed Done, so the window itself never
  // waits on a box.
  remaining_.clear();
  for (const std::string& trace : FindTraces(platform_, usersOwn)) {
    if (log_.HandedToRestart(TraceName(trace))) continue;
    platform::Note("remains", TraceText(trace));
    remaining_.push_back(TraceText(trace));
  }
  platform_.windows.SetCompletionText(
      std::string(remaining_.empty() ? platform::kFinishedText : platform::kItemsRemainText));
  platform_.windows.Show(Window::Complete);
}

void Kelvane::Finish() {
  if (!remaining_.empty()) {
    platform::SkipIfFails(
        [&] { platform_.windows.ShowErrorBox(platform::kApplicationTitle, platform::RemainingItemsText(remaining_)); });
  }
  End(kExitDone);
}

bool Kelvane::StartedFrom(const restart::ResumePlace& place) {
  bool fromPlace = false;
  platform::SkipIfFails([&] { fromPlace = place.Holds(platform_.kernel.ExecutablePath()); });
  return fromPlace;
}

void Kelvane::btnGo_Click() {
  platform_.windows.Hide(Window::Kelvane);
  platform_.windows.Show(Window::Loading);
  StopService();
  UninstallMSIs();
  RemoveFiles();
  RemoveRegKeys();
  SetupReboot();
  Reboot();
}

void Kelvane::OpenAddress(const char* address) {
  const auto shell = platform_.objects.CreateShell();
  try {
    Require(shell).run(address, platform::kWindowStyleMaximized);
  } catch (const platform::Error& error) {
    if (error.number() != platform::kCannotOpenAsUser) throw;
    // Opened by the elevated tool, a browser would load the user's profile
    // with the administrator's rights: the person opens it instead.
    platform::Note("open", std::string("not opened, shown instead: ") + address);
    platform::SkipIfFails([&] {
      platform_.windows.ShowErrorBox(platform::kApplicationTitle, std::string(platform::kOpenItYourselfText) + address);
    });
  }
}

void Kelvane::Clicked(Control control) {
  switch (control) {
    case Control::btnGo: Handle([&] { btnGo_Click(); }); break;
    case Control::Label2: Handle([&] { OpenAddress(platform::kDownloadAddress); }); break;
    case Control::Picture1: Handle([&] { OpenAddress(platform::kDonationAddress); }); break;
    case Control::Finish: Finish(); break;
  }
}

void Kelvane::CloseRequested(Window window) {
  // Loading has no close box; closing either other window leaves nothing
  // visible, so the tool ends rather than linger without a window.
  if (window == Window::Complete) {
    Finish();
  } else if (window != Window::Loading) {
    End(kExitDone);
  }
}

}  // namespace kelvane::app
