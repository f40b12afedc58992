#pragma once

#include <memory>

#include "platform/interface/shell.h"
#include "platform/sim/machine.h"

namespace kelvane::platform::sim {

// "WScript.Shell" on the machine.
std::unique_ptr<platform::Shell> MakeShell(Machine& machine);

}  // namespace kelvane::platform::sim
