#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/sim/machine.h"
#include "user_actions.h"

namespace kelvane::sim_tool {

// Logs the user on and starts the tool as a double-click on its path does,
// or a deployment system with the arguments; returns the tool's exit code.
int StartTool(platform::sim::Machine& machine, User& user, const std::vector<std::string>& arguments = {});

// Carries out a pending restart and the deletions handed to it, logs on, and
// starts every shortcut in the common and the user's Startup folders whose
// target is the tool or a copy of it. Returns how many it started.
int Boot(platform::sim::Machine& machine, User& user, std::ostream& notes);

// One start of the tool: Start, then the user's actions until the tool ends
// or the user stops acting.
int RunTool(platform::sim::Machine& machine, User& user, const std::vector<std::string>& arguments = {});

}  // namespace kelvane::sim_tool
