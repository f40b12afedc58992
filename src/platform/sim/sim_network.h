#pragma once

#include <memory>

#include "platform/interface/network.h"
#include "platform/sim/machine.h"

namespace kelvane::platform::sim {

// "WScript.Network": the machine's computer name.
std::unique_ptr<platform::Network> MakeNetwork(Machine& machine);

}  // namespace kelvane::platform::sim
