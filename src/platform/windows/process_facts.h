#pragma once

#include <string>
#include <vector>

#include "platform/interface/kernel.h"

namespace kelvane::platform::windows {

// The arguments this process was started with, split as the C runtime and
// the shell split them, its own program name left out.
std::vector<std::string> ProcessArguments();

// The command line after the program's name, untouched: what a second start
// of the same program is given.
std::wstring ProcessParameters();

// Waits for the Windows Installer's "_MSIExecute" mutex, which the Installer
// holds while any installation runs; Busy when it is still held after the
// time-out, HeldByOther at once when its owner is neither SYSTEM nor the
// Administrators group. Where no installation runs there is no mutex.
InstallerWait WaitForInstallerMutex(unsigned timeoutMilliseconds);

// Now, in UTC: "2026-12-10T02:05:07.123Z".
std::string UtcTimeText();

}  // namespace kelvane::platform::windows
