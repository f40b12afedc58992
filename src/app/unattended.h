#pragma once

#include "app/command_line.h"
#include "app/run_log.h"
#include "platform/interface/platform.h"

namespace kelvane::app {

// The removal in one pass, with nobody at the screen (/quiet: no window at
// all; /passive: the progress window only): the service stop, the uninstall,
// the file and registry phases and the Office14 program folder, with what is
// in use handed to the next restart instead of a batch file and a Startup
// shortcut; then the restart the options ask for. Needs an administrator's
// token and never asks for one. Returns the exit code.
int RemoveUnattended(platform::Platform& platform, const RunOptions& options, const RunLog& log);

}  // namespace kelvane::app
