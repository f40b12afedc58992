#pragma once

#include <windows.h>

namespace kelvane::platform::windows {

// The restart an installer asks for when a person may be at the screen:
// programs are asked to close and may keep unsaved work, and the person may
// cancel. Only a forced restart closes every session, the tool's own too.
DWORD RestartShutdownFlags(bool force);

// Application: Installation (Planned), as the event log records it.
inline constexpr DWORD kRestartReason =
    SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_INSTALLATION | SHTDN_REASON_FLAG_PLANNED;

// Enables the process's shutdown privilege and asks for the restart;
// returns InitiateShutdownW's status (120 under Wine 8, which has no such
// call).
long RequestMachineRestart(unsigned gracePeriodSeconds, bool force);

}  // namespace kelvane::platform::windows
