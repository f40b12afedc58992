#pragma once

#include <memory>

#include "platform/shell.h"

namespace kelvane::platform::windows {

// The shell object on ShellExecuteExW, the environment and the link object.
std::unique_ptr<Shell> MakeShell();

}  // namespace kelvane::platform::windows
