#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kelvane::sim_tool {

// Exit statuses of kelvane-sim.
inline constexpr int kExitDone = 0;
inline constexpr int kExitTracesFound = 1;
inline constexpr int kExitBadUsage = 2;

// kelvane-sim's command line, without the program name: init, start, boot,
// cycle, report, demo. Returns the exit status.
int RunKelvaneSim(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace kelvane::sim_tool
