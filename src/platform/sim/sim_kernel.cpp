#include "platform/sim/sim_kernel.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include <unistd.h>

#include "platform/sim/windows_errors.h"

namespace kelvane::platform::sim {

InstallerWait SimKernel::WaitForInstaller(unsigned) {
  if (!machine_.config().installerBusy) return InstallerWait::Idle;
  return machine_.config().installerHeldByUser ? InstallerWait::HeldByOther : InstallerWait::Busy;
}

long SimKernel::RequestRestart(unsigned gracePeriodSeconds, bool force) {
  const bool refused = !force && machine_.config().otherUsersSignedIn;
  machine_.log().Append({"restart request", std::to_string(gracePeriodSeconds) + " s",
                         force ? "forced" : "programs may save", refused ? "refused: other users signed in" : "ordered"});
  if (refused) return kRestartRefusedUsersSignedIn;
  machine_.config().pendingRestart = true;
  return 0;
}

std::vector<platform::EditionView> SimKernel::EditionViews() {
  machine_.Check(Operation::EditionViews, "", UnspecifiedError());
  const MachineConfig& config = machine_.config();
  const std::string drive = config.systemRoot.substr(0, 2);
  if (!config.windows64) {
    return {{platform::RegistryView::Program, drive + "\\Program Files", drive + "\\Program Files\\Common Files", false}};
  }
  return {{platform::RegistryView::Program, drive + "\\Program Files (x86)", drive + "\\Program Files (x86)\\Common Files", true},
          {platform::RegistryView::Native, drive + "\\Program Files", drive + "\\Program Files\\Common Files", false}};
}

void SimKernel::WriteStandardOutputLine(const std::string& text) {
  if (isatty(STDOUT_FILENO)) return;
  std::fputs((text + "\n").c_str(), stdout);
  std::fflush(stdout);
}

unsigned long SimKernel::ProcessId() { return static_cast<unsigned long>(getpid()); }

std::string SimKernel::UtcTime() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%s.%03dZ", text, static_cast<int>(millis));
  return stamp;
}

std::string SimKernel::ExecutablePath() {
  machine_.Check(Operation::ExecutablePath, "", UnspecifiedError());
  return startedFrom_;
}

}  // namespace kelvane::platform::sim
