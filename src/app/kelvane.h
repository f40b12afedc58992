#pragma once

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/run_log.h"
#include "platform/interface/platform.h"
#include "platform/shared/failure_naming.h"
#include "restart/resume_place.h"

namespace kelvane::app {

// The main window and the removal driver: it tells a first run from a
// resumed run, is the only caller of the phases, and handles the windows'
// events. A failure that reaches an event handler ends the run in the error
// box.
// The box after an unclean resumed run, above its list of traces.

class Kelvane final : public platform::WindowEvents {
 public:
  // Every call of the phases reaches the machine's objects through one layer
  // that names a failing call, so that the log says what was skipped.
  explicit Kelvane(platform::Platform& platform)
      : objects_(platform.objects), platform_{objects_, platform.kernel, platform.windows}, log_(platform.kernel) {}

  // Start-up: the command line, then either the load step and the main
  // window on a first run, or the unattended removal or check, which end the
  // tool with their exit code.
  void Start();

  void Clicked(platform::Control control) override;
  void CloseRequested(platform::Window window) override;

  // The removal procedures, as operations of the main window.
  void RemoveFiles();
  void RemoveRegKeys();
  void StopService();
  void UninstallMSIs();
  void CleanUp();
  void SetupReboot();
  void Reboot();

 private:
  // The load step; true on a first run.
  bool Load();
  // The run the Startup shortcut starts after the restart, its record due.
  void ResumeAfterRestart(const restart::ResumePlace& place, platform::FileSystem& fso);
  // Whether the running executable is the copy in the tool's own folder.
  bool StartedFrom(const restart::ResumePlace& place);
  // The completion window, its label saying whether anything remains (of
  // the user's own too, with usersOwn), and a box naming what does.
  void ShowOutcome(bool usersOwn);
  // Done, or the completion window's close box: the items that remain, then the end.
  void Finish();
  void btnGo_Click();
  void OpenAddress(const char* address);

  // Runs an event handler; false when a failure ended the run.
  template <class Handler>
  bool Handle(Handler&& handler);
  // Reads the command line and opens the log; false when the tool ended.
  bool ReadCommandLine();
  void StartWindowed();
  // Ends the tool with the exit code, noted in the log.
  void End(int exitCode);

  platform::FailureNamingObjects objects_;
  platform::Platform platform_;
  RunOptions options_;
  RunLog log_;
  std::vector<std::string> remaining_;  // as the last inventory found them
};

}  // namespace kelvane::app
