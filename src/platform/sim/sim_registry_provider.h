#pragma once

#include <memory>

#include "platform/interface/registry_provider.h"
#include "platform/sim/machine.h"

namespace kelvane::platform::sim {

// StdRegProv on the machine's registry, with the statuses Windows returns.
std::unique_ptr<platform::RegistryProvider> MakeRegistryProvider(Machine& machine);

}  // namespace kelvane::platform::sim
