#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/interface/registry_provider.h"

namespace kelvane::registry {

// Keys that several products share, each product holding one value named by
// its packed code: a component's clients (UserData\S-1-5-18\Components\...)
// and an upgrade code's related products (Installer\UpgradeCodes\...). A
// product leaves such a key value by value; the key goes only once nothing at
// all is left in it, since another product may still be listed there.

using ValueNameRule = std::function<bool(const std::string& valueName)>;
using ReferencingKeyVisit = std::function<void(const std::string& keyPath, const std::vector<std::string>& valueNames)>;

// Every subkey of the parent holding values the rule accepts, visited with
// their names. One walk, each key read before the next, so that memory does
// not grow with the number of keys (a machine with Office has tens of
// thousands of components). A failed read is skipped.
void ForEachReferencingKey(platform::RegistryProvider& provider, std::uint32_t root, const std::string& parentPath,
                           const ValueNameRule& rule, const ReferencingKeyVisit& visit);

// Deletes the values by name, then the key when it holds nothing more.
// Returns the names of the values that went.
std::vector<std::string> DeleteValuesThenEmptyKey(platform::RegistryProvider& provider, std::uint32_t root,
                                                  const std::string& keyPath, const std::vector<std::string>& valueNames);

// Deletes the key only when it holds no value and no subkey.
void DeleteKeyIfEmpty(platform::RegistryProvider& provider, std::uint32_t root, const std::string& keyPath);

}  // namespace kelvane::registry
