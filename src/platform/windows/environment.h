#pragma once

#include <functional>
#include <optional>
#include <string>

namespace kelvane::platform::windows {

// The value of a %NAME% reference, or none to leave it as written.
using ReferenceValue = std::function<std::optional<std::wstring>(const std::wstring& name)>;

// Expands the %NAME% references as ExpandEnvironmentStringsW does, left to
// right, each with `value`: "%NAME" of an unknown name stays, and its
// closing "%" may open the next reference.
std::wstring ExpandReferences(const std::wstring& text, const ReferenceValue& value);

// The process environment's value of a variable.
std::optional<std::wstring> EnvironmentValue(const std::wstring& name);

// The system's own value of a machine-wide folder the environment also
// names (ProgramFiles, CommonProgramFiles, ProgramData, ALLUSERSPROFILE, in
// any case), which the user's environment can override in the elevated
// process; none for every other name.
std::optional<std::wstring> MachineFolderValue(const std::wstring& name);

// What names a machine-wide folder in the machine's own registry values:
// SystemRoot (and windir) and SystemDrive, from the system.
std::optional<std::wstring> SystemRootValue(const std::wstring& name);

}  // namespace kelvane::platform::windows
