#pragma once

#include <filesystem>
#include <iosfwd>

#include "platform/sim/machine.h"
#include "user_actions.h"

namespace kelvane::sim {

// Logs the user on and starts the tool as a double-click on its path does.
void StartTool(Machine& machine, User& user);

// Carries out a pending restart and the deletions handed to it, logs on, and
// starts every shortcut in the common and the user's Startup folders whose
// target is the tool or a copy of it. Returns how many it started.
int Boot(Machine& machine, User& user, std::ostream& notes);

// One start of the tool: Start, then the user's actions until the tool ends
// or the user stops acting.
void RunTool(Machine& machine, User& user);

}  // namespace kelvane::sim
