#pragma once

#include <memory>

#include "platform/interface/registry_provider.h"
#include "platform/sim/machine.h"

namespace kelvane::platform::sim {

// StdRegProv on the machine's registry, with the statuses Windows returns.
// On a 64-bit image, every view but the native one is the 32-bit view: the
// simulated tool is the 32-bit program.
std::unique_ptr<platform::RegistryProvider> MakeRegistryProvider(Machine& machine, platform::RegistryView view);

}  // namespace kelvane::platform::sim
