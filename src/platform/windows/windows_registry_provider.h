#pragma once

#include <memory>

#include "platform/interface/registry_provider.h"

namespace kelvane::platform::windows {

// StdRegProv in root\default, called through IWbemServices::ExecMethod, for
// the program's own view: binds at once and fails when WMI cannot be
// reached; its values are read and written directly. The native view is
// the registry functions alone, with KEY_WOW64_64KEY.
std::unique_ptr<RegistryProvider> ConnectRegistryProvider(RegistryView view);

}  // namespace kelvane::platform::windows
