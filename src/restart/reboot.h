#pragma once

#include "platform/interface/platform.h"

namespace kelvane::restart {

// Counts down on the progress line, waits a bounded time for the computer
// name, and asks Windows for a restart that lets every program keep its
// work. When Windows does not restart (other users are signed in, whose
// sessions are never forced, or no restart can be had) a box says that a
// restart is needed to finish: the resumed run then comes at the next
// restart, whenever that is. Every failure is skipped.
void Reboot(platform::Platform& platform);

// Asks for the restart, forced only when an administrator said so
// (/forcerestart); whether it is on its way. A refusal is noted in the log.
bool RequestRestart(platform::Platform& platform, bool force, long* status = nullptr);

inline constexpr unsigned kRestartGraceSeconds = 10;
inline constexpr long kRestartCallMissing = 120;
// The wait for a computer name: up to this many reads, this far apart.
inline constexpr int kComputerNameReads = 25;
inline constexpr unsigned kComputerNamePauseMilliseconds = 200;

inline constexpr const char* kRestartNeededText = "A restart is needed to finish removing Office 2010.";
inline constexpr const char* kOtherUsersSignedInText =
    "Other users are signed in to this computer, so Windows was not restarted. Restart it once they have signed "
    "out: the removal finishes when you next log on.";
inline constexpr const char* kNoRestartText =
    "Windows did not restart. Restart the computer yourself: the removal finishes when you next log on.";

}  // namespace kelvane::restart
