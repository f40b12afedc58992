#include "installer/stop_service.h"

#include "platform/shared/progress.h"
#include "platform/shared/skip_if_fails.h"

namespace kelvane::installer {

using platform::Require;
using platform::SkipIfFails;

void StopService(platform::Platform& platform) {
  std::unique_ptr<platform::Shell> shell;
  SkipIfFails([&] { shell = platform.objects.CreateShell(); });
  SkipIfFails([&] { ShowProgress(platform.windows, "Stopping The Office Source Engine service"); });
  SkipIfFails([&] { Require(shell).run("net stop ose"); });
}

}  // namespace kelvane::installer
