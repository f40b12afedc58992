#pragma once

#include <cstdint>
#include <string>

#include "platform/interface/registry_provider.h"
#include "platform/interface/window_system.h"

namespace kelvane::registry {

// Deletes the key and everything below it, each key's subkeys before the key
// itself, through the registry phase's provider connection. It handles no
// failure: the first one ends this call and every call above it.
void DeleteSubkeys(platform::RegistryProvider& provider, platform::WindowSystem& windows,
                   std::uint32_t HKEY, const std::string& strKeyPath);

}  // namespace kelvane::registry
