#include "restart/reboot.h"

#include "platform/shared/error_box.h"
#include "platform/shared/journal.h"
#include "platform/shared/progress.h"
#include "platform/shared/skip_if_fails.h"

namespace kelvane::restart {

using platform::Require;
using platform::SkipIfFails;

bool RequestRestart(platform::Platform& platform, bool force, long* status) {
  const long answer = platform.kernel.RequestRestart(kRestartGraceSeconds, force);
  if (status) *status = answer;
  if (answer == 0) return true;
  platform::Note("restart", answer == platform::kRestartRefusedUsersSignedIn
                                ? std::string("refused: other users are signed in")
                                : "not started: status " + std::to_string(answer));
  return false;
}

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

  long status = 0;
  if (RequestRestart(platform, false, &status)) return;
  // ERROR_CALL_NOT_IMPLEMENTED: a system without the call (Wine) restarts
  // by other means; the log has said so.
  if (status == kRestartCallMissing) return;
  const std::string why = status == platform::kRestartRefusedUsersSignedIn ? kOtherUsersSignedInText : kNoRestartText;
  SkipIfFails([&] {
    platform.windows.ShowErrorBox(platform::kApplicationTitle, std::string(kRestartNeededText) + "\n\n" + why);
  });
}

}  // namespace kelvane::restart
