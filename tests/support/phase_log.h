#pragma once

#include <string>
#include <vector>

namespace kelvane::testing {

// The phases a recorded run called, in order, told apart by the first
// operation each one makes.
std::vector<std::string> PhasesCalled(const std::vector<std::string>& log);

}  // namespace kelvane::testing
