#pragma once

#include <memory>

#include "platform/interface/registry_provider.h"

namespace kelvane::platform::windows {

// StdRegProv in root\default, called through IWbemServices::ExecMethod.
// Binds at once; fails when WMI cannot be reached.
std::unique_ptr<RegistryProvider> ConnectRegistryProvider();

}  // namespace kelvane::platform::windows
