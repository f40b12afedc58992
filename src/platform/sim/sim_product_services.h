#pragma once

#include <memory>

#include "platform/interface/product_services.h"
#include "platform/sim/machine.h"

namespace kelvane::platform::sim {

// root\cimv2's Win32_Product on the machine's installed products.
std::unique_ptr<platform::ProductServices> MakeProductServices(Machine& machine);

}  // namespace kelvane::platform::sim
