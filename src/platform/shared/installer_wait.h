#pragma once

#include "platform/interface/kernel.h"
#include "platform/shared/journal.h"

namespace kelvane::platform {

// Whether the Installer is free: a "_MSIExecute" that no installation holds
// (an ordinary process may hold the name to stop every removal) is noted in
// the log and not waited for.
inline bool InstallerIdle(Kernel& kernel, unsigned timeoutMilliseconds) {
  switch (kernel.WaitForInstaller(timeoutMilliseconds)) {
    case InstallerWait::Idle: return true;
    case InstallerWait::Busy: return false;
    case InstallerWait::HeldByOther: break;
  }
  Note("installer", "_MSIExecute is held by a process that is not the Installer's (owned by neither SYSTEM nor "
                    "Administrators): not waited for");
  return true;
}

}  // namespace kelvane::platform
