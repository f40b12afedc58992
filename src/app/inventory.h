#pragma once

#include <string>
#include <vector>

#include "platform/interface/platform.h"

namespace kelvane::app {

// Every Office 2010 trace the tool is meant to remove that is still on the
// machine, found by walking the removal's own plan (the file phase's folders,
// caches and templates, the program folder, the registry plan's keys, the
// products the uninstall phase takes), plus what the tool leaves for its
// resumed run (the batch file, the Startup shortcut, its own folder): one
// "KIND<TAB>NAME" line each, names as the machine spells them. Changes
// nothing. Fails only when the shell or the file system cannot be had.
// Without usersOwn, only the machine's own: the file plan's steps of the
// user's, the batch file and the current user's keys are left out.
std::vector<std::string> FindTraces(platform::Platform& platform, bool usersOwn = true);

// A trace as /check prints it and the log notes it: "KIND: NAME".
std::string TraceText(const std::string& trace);
// A trace's name, the path or key it is about.
std::string_view TraceName(const std::string& trace);

// /check: every trace noted in the run's log ("KIND: NAME"); the exit code
// says whether any
// remains (0 none, 1 some, 1603 the machine could not be looked at).
int CheckTraces(platform::Platform& platform);

}  // namespace kelvane::app
