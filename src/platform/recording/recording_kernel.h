#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/interface/kernel.h"

namespace kelvane::platform::recording {

class RecordingPlatform;

// The process and the system as the machine describes them; a restart,
// a sleep and the Installer's wait are logged and return at once.
class RecordingKernel final : public platform::Kernel {
 public:
  explicit RecordingKernel(RecordingPlatform& recorder) : recorder_(recorder) {}
  std::string ExecutablePath() override;
  void Sleep(unsigned milliseconds) override;
  platform::Elevation TokenElevation() override;
  std::string UserSid() override;
  void StartElevated() override;
  std::vector<std::string> Arguments() override;
  platform::InstallerWait WaitForInstaller(unsigned timeoutMilliseconds) override;
  std::string UtcTime() override;
  unsigned long ProcessId() override;
  void WriteStandardOutputLine(const std::string& text) override;
  long RequestRestart(unsigned gracePeriodSeconds, bool force) override;
  std::vector<platform::EditionView> EditionViews() override;
  std::unique_ptr<platform::Impersonation> ImpersonateUser() override;

 private:
  RecordingPlatform& recorder_;
};

}  // namespace kelvane::platform::recording
