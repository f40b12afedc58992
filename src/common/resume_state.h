#pragma once

namespace kelvane {

// What a first run leaves for the resumed run, and the paths the driver, the
// file phases and the shortcut phase build to them.

// The temporary folder: the expanded reference followed by one backslash.
inline constexpr const char* kTempReference = "%temp%";
inline constexpr const char* kBatchFileName = "deleteoffice.bat";

// The common Startup folder, formed literally from the variable and the tail.
inline constexpr const char* kAllUsersReference = "%ALLUSERSPROFILE%";
inline constexpr const char* kStartupTail = "\\Start Menu\\Programs\\Startup";
inline constexpr const char* kShortcutTail = "\\Kelvane.lnk";

// The tool's own folder under the machine's Program Files, where only
// administrators can write: the copy of the tool that the Startup shortcut
// starts, and the record that a resumed run is due. The record alone decides
// which run a start is; the batch file in the user's temporary folder, which
// anyone can plant, decides nothing and is never run.
inline constexpr const char* kProgramFilesReference = "%ProgramFiles%";
inline constexpr const char* kToolFolderTail = "\\Kelvane 2010";
inline constexpr const char* kResumeRecordName = "ResumeAfterRestart";
inline constexpr const char* kResumeRecordText =
    "Kelvane 2010 finishes removing Office 2010 at the next log-on.";
// The record's second line: this, then the SID of the user who pressed Go.
inline constexpr const char* kResumeRecordUser = "User: ";

}  // namespace kelvane
