#pragma once

#include <iosfwd>

namespace kelvane::sim_tool {

// The demo machine in a temporary folder: report, the whole cycle, report,
// with a short summary. Returns 0 when the cycle left no trace.
int RunDemo(std::ostream& out, std::ostream& err);

}  // namespace kelvane::sim_tool
