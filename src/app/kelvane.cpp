#include "app/kelvane.h"

#include "app/addresses.h"
#include "app/error_box.h"
#include "common/resume_state.h"
#include "files/clean_up.h"
#include "files/remove_files.h"
#include "installer/stop_service.h"
#include "installer/uninstall_msis.h"
#include "platform/skip.h"
#include "registry/remove_reg_keys.h"
#include "restart/reboot.h"
#include "restart/setup_reboot.h"

namespace kelvane::app {

using platform::Control;
using platform::Require;
using platform::Window;

void Kelvane::RemoveFiles() { files::RemoveFiles(platform_); }
void Kelvane::RemoveRegKeys() { registry::RemoveRegKeys(platform_); }
void Kelvane::StopService() { installer::StopService(platform_); }
void Kelvane::UninstallMSIs() { installer::UninstallMSIs(platform_); }
void Kelvane::CleanUp() { files::CleanUp(platform_); }
void Kelvane::SetupReboot() { restart::SetupReboot(platform_); }
void Kelvane::Reboot() { restart::Reboot(platform_); }

template <class Handler>
bool Kelvane::Handle(Handler&& handler) {
  try {
    handler();
    return true;
  } catch (const platform::Error& error) {
    try {
      platform_.windows.ShowErrorBox(kApplicationTitle, ErrorBoxText(error));
    } catch (const platform::Error&) {
      // The tool ends all the same when not even the box can be shown.
    }
    platform_.windows.EndTool();
    return false;
  }
}

void Kelvane::Start() {
  // An administrator whose rights User Account Control holds back would
  // remove only the user's own traces, fail on every machine-wide one and
  // then report success: start again with the full rights, and end. Declined,
  // the error box ends the tool before anything is changed, so a resumed run
  // keeps its batch file and shortcut and asks again at the next log-on.
  if (platform_.kernel.TokenElevation() == platform::Elevation::Limited) {
    if (Handle([&] { platform_.kernel.StartElevated(); })) platform_.windows.EndTool();
    return;
  }
  bool firstRun = false;
  if (!Handle([&] { firstRun = Load(); })) return;
  if (firstRun) Handle([&] { platform_.windows.Show(Window::Kelvane); });
}

bool Kelvane::Load() {
  const auto shell = platform_.objects.CreateShell();
  const auto fso = platform_.objects.CreateFileSystem();
  const std::string tempPrefix = Require(shell).ExpandEnvironmentStrings(kTempReference) + "\\";
  const std::string batchFile = tempPrefix + kBatchFileName;
  if (!Require(fso).FileExists(batchFile)) return true;

  platform_.windows.Hide(Window::Kelvane);
  platform_.windows.Show(Window::Loading);
  // Quoted, so that a temporary folder with a blank in its path still runs.
  const auto batchProcess = shell->run("\"" + batchFile + "\"");
  RemoveFiles();
  // The clean-up deletes the batch file: let the command interpreter finish
  // with it first, for a bounded time.
  platform::SkipIfFails([&] {
    if (batchProcess) batchProcess->WaitForExit(kBatchFileWaitMilliseconds);
  });
  CleanUp();
  platform_.windows.Hide(Window::Loading);
  platform_.windows.Show(Window::Complete);
  return false;
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
  Require(shell).run(address, platform::kWindowStyleMaximized);
}

void Kelvane::Clicked(Control control) {
  switch (control) {
    case Control::btnGo: Handle([&] { btnGo_Click(); }); break;
    case Control::Label2: Handle([&] { OpenAddress(kDownloadAddress); }); break;
    case Control::Picture1: Handle([&] { OpenAddress(kDonationAddress); }); break;
    case Control::Finish: platform_.windows.EndTool(); break;
  }
}

void Kelvane::CloseRequested(Window window) {
  // Loading has no close box; closing either other window leaves nothing
  // visible, so the tool ends rather than linger without a window.
  if (window != Window::Loading) platform_.windows.EndTool();
}

}  // namespace kelvane::app
