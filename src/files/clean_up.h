#pragma once

#include "platform/platform.h"

namespace kelvane::files {

// The resumed run's last phase: deletes the batch file and the Startup
// shortcut, then empties the temporary folder. Every failing step is skipped.
void CleanUp(platform::Platform& platform);

}  // namespace kelvane::files
