#pragma once

#include <string>
#include <string_view>

namespace kelvane::platform {

// A path as Windows reads a key path (and the simulated machine every path a
// fault names): a run of backslashes is one separator and a trailing one is
// dropped, so "A\\B\" names "A\B".
std::string CollapseSeparators(std::string_view path);

}  // namespace kelvane::platform
