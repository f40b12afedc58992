#pragma once

#include <string>
#include <vector>

#include "platform/sim/machine.h"

namespace kelvane::sim {

// Every Office 2010 trace the tool is meant to remove that is still on the
// machine, plus the batch file, the Startup shortcut and the tool's own
// folder (its copy and the resume record) the tool leaves for its resumed
// run: one line each, a kind and a name separated by a tab.
// Kept apart from the tool's own plan, so that an audit can catch the plan.
std::vector<std::string> FindTraces(Machine& machine);

}  // namespace kelvane::sim
