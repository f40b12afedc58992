#pragma once

#include "platform/interface/platform.h"

namespace kelvane::restart {

// Counts down on the progress line, waits a bounded time for the computer
// name, and starts the restart command. Every failure is skipped.
void Reboot(platform::Platform& platform);

inline constexpr const char* kRestartCommand = "shutdown -r -t 10 -f";
// The wait for a computer name: up to this many reads, this far apart.
inline constexpr int kComputerNameReads = 25;
inline constexpr unsigned kComputerNamePauseMilliseconds = 200;

}  // namespace kelvane::restart
