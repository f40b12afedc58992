#pragma once

#include "platform/interface/platform.h"

namespace kelvane::files {

// The resumed run's last phase: deletes the batch file, the Startup shortcut
// and the tool's own folder (its copy and the resume record), then empties
// the temporary folder with the user's own rights. Every failing step is
// skipped.
void CleanUp(platform::Platform& platform);

// Deletes the Startup shortcut and the tool's own folder alone: for a start
// from that shortcut when no resumed run is due any more.
void RemoveStartup(platform::Platform& platform);

}  // namespace kelvane::files
