#pragma once

#include <optional>
#include <string>
#include <string_view>

// The values of %NAME% references on Windows, for the one reading of them
// every machine shares (platform/shared/environment_references.h).
namespace kelvane::platform::windows {

// The process environment's value of a variable.
std::optional<std::string> EnvironmentValue(std::string_view name);

// The system's own value of a machine-wide folder the environment also
// names (ProgramFiles, CommonProgramFiles, ProgramData, ALLUSERSPROFILE, in
// any case), which the user's environment can override in the elevated
// process; none for every other name.
std::optional<std::string> MachineFolderValue(std::string_view name);

// What names a machine-wide folder in the machine's own registry values:
// SystemRoot (and windir) and SystemDrive, from the system.
std::optional<std::string> SystemRootValue(std::string_view name);

}  // namespace kelvane::platform::windows
