#pragma once

#include <memory>

#include "platform/interface/shell.h"

namespace kelvane::platform::windows {

// The shell object: programs by absolute path, addresses opened as the user,
// the environment with the system's machine-wide folders, the link object.
std::unique_ptr<Shell> MakeShell();

}  // namespace kelvane::platform::windows
