#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/interface/kernel.h"
#include "platform/sim/machine.h"

namespace kelvane::platform::sim {

// The path the tool was started from (machine.ini's ExePath, or the copy a
// Startup shortcut names), and no waiting: the machine does not make anyone
// wait for the countdown. Its users run with full rights and no
// split token (an administrator's token is a full one, unless machine.ini
// says the user is none), so no start asks for more and acting as the user
// changes nothing.
class SimKernel final : public platform::Kernel {
 public:
  SimKernel(Machine& machine, std::string startedFrom, std::vector<std::string> arguments)
      : machine_(machine), startedFrom_(std::move(startedFrom)), arguments_(std::move(arguments)) {}
  std::string ExecutablePath() override;
  void Sleep(unsigned) override {}
  platform::Elevation TokenElevation() override {
    return machine_.Administrator() ? platform::Elevation::Full : platform::Elevation::Standard;
  }
  std::string UserSid() override { return machine_.UserSid(); }
  void StartElevated() override {}
  std::unique_ptr<platform::Impersonation> ImpersonateUser() override {
    return std::make_unique<platform::Impersonation>();
  }
  std::vector<std::string> Arguments() override { return arguments_; }
  // A busy installer makes the wait run out at once.
  InstallerWait WaitForInstaller(unsigned timeoutMilliseconds) override;
  std::string UtcTime() override;
  unsigned long ProcessId() override;
  // To kelvane-sim's own standard output, when that is not a terminal.
  void WriteStandardOutputLine(const std::string& text) override;
  long RequestRestart(unsigned gracePeriodSeconds, bool force) override;
  // The tool is the 32-bit program: on a 64-bit image its own view is the
  // 32-bit one, the native one's folders those machine.ini names for it.
  std::vector<platform::EditionView> EditionViews() override;

 private:
  Machine& machine_;
  std::string startedFrom_;
  std::vector<std::string> arguments_;
};

}  // namespace kelvane::platform::sim
