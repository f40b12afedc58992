#pragma once

#include <string>

namespace kelvane::platform::windows {

// The key path as the registry provider takes it: a run of backslashes is
// one separator and a trailing one is dropped, so "A\\B\" names "A\B".
std::string NormalizeKeyPath(const std::string& keyPath);

}  // namespace kelvane::platform::windows
