#pragma once

namespace kelvane::app {

// The tool's exit codes: Windows Installer's, which deployment systems read
// without being told.
inline constexpr int kExitDone = 0;
inline constexpr int kExitTracesRemain = 1;        // /check: some Office 2010 trace remains
inline constexpr int kExitAccessDenied = 5;        // no administrator's token
inline constexpr int kExitBadCommandLine = 87;     // ERROR_INVALID_PARAMETER
inline constexpr int kExitFailed = 1603;           // ERROR_INSTALL_FAILURE
inline constexpr int kExitInstallerBusy = 1618;    // ERROR_INSTALL_ALREADY_RUNNING
inline constexpr int kExitLogFailed = 1622;        // ERROR_INSTALL_LOG_FAILURE
inline constexpr int kExitRestartStarted = 1641;   // ERROR_SUCCESS_REBOOT_INITIATED
inline constexpr int kExitRestartRequired = 3010;  // ERROR_SUCCESS_REBOOT_REQUIRED

// How long an unattended removal waits for another installation to end.
inline constexpr unsigned kInstallerWaitMilliseconds = 10 * 60 * 1000;

}  // namespace kelvane::app
