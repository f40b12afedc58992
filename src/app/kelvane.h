#pragma once

#include "platform/platform.h"
#include "restart/resume_place.h"

namespace kelvane::app {

// The main window and the removal driver: it tells a first run from a
// resumed run, is the only caller of the phases, and handles the windows'
// events. A failure that reaches an event handler ends the run in the error
// box.
class Kelvane final : public platform::WindowEvents {
 public:
  explicit Kelvane(platform::Platform& platform) : platform_(platform) {}

  // Start-up: the load step, then the main window on a first run.
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
  // Whether the running executable is the copy in the tool's own folder.
  bool StartedFrom(const restart::ResumePlace& place);
  void btnGo_Click();
  void OpenAddress(const char* address);

  // Runs an event handler; false when a failure ended the run.
  template <class Handler>
  bool Handle(Handler&& handler);

  platform::Platform& platform_;
};

}  // namespace kelvane::app
