#pragma once

#include <memory>

#include "platform/interface/network.h"

namespace kelvane::platform::windows {

// The network object: the computer name from the system.
std::unique_ptr<Network> MakeNetwork();

}  // namespace kelvane::platform::windows
