#include "restart/reboot.h"

#include "platform/shared/progress.h"
#include "platform/shared/skip_if_fails.h"

namespace kelvane::restart {

using platform::Require;
using platform::SkipIfFails;

void Reboot(platform::Platform& platform) {
  for (int dots = 1; dots <= 5; ++dots) {
    SkipIfFails([&] { ShowProgress(platform.windows, "Rebooting" + std::string(dots, '.')); });
    platform.kernel.Sleep(1000);
  }

  // The name itself is not used; the restart must not wait on it forever
  // when it can never be read.
  std::unique_ptr<platform::Network> network;
  SkipIfFails([&] { network = platform.objects.CreateNetwork(); });
  std::string strComputer;
  bool done = false;
  for (int read = 0; read < kComputerNameReads && !done; ++read) {
    if (read > 0) platform.kernel.Sleep(kComputerNamePauseMilliseconds);
    SkipIfFails([&] { strComputer = Require(network).ComputerName(); });
    done = !strComputer.empty();
  }

  const std::string strShutdown = kRestartCommand;
  std::unique_ptr<platform::Shell> shell;
  SkipIfFails([&] { shell = platform.objects.CreateShell(); });
  SkipIfFails([&] { Require(shell).run(strShutdown); });
}

}  // namespace kelvane::restart
