#pragma once

#include <memory>

#include "platform/interface/product_services.h"

namespace kelvane::platform::windows {

// Win32_Product served by the Windows Installer API, per-machine products
// only: enumerating the WMI class makes the Installer check (and at times
// repair) every product, takes minutes, and the class is missing on some
// editions and under Wine.
std::unique_ptr<ProductServices> MakeProductServices();

}  // namespace kelvane::platform::windows
