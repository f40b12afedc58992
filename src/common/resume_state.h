#pragma once

namespace kelvane {

// The two things a first run leaves for the resumed run, and the paths the
// driver, the file phases and the shortcut phase build to them.

// The temporary folder: the expanded reference followed by one backslash.
inline constexpr const char* kTempReference = "%temp%";
inline constexpr const char* kBatchFileName = "deleteoffice.bat";

// The common Startup folder, formed literally from the variable and the tail.
inline constexpr const char* kAllUsersReference = "%ALLUSERSPROFILE%";
inline constexpr const char* kStartupTail = "\\Start Menu\\Programs\\Startup";
inline constexpr const char* kShortcutTail = "\\Kelvane.lnk";

}  // namespace kelvane
