#pragma once

#include "platform/interface/platform.h"

namespace kelvane::restart {

// Copies the tool where only administrators can write, records that a resumed
// run is due, and places the Startup shortcut that starts the copy at the next
// log-on.
// It handles no failure: the first one ends the phase and goes to the caller.
void SetupReboot(platform::Platform& platform);

inline constexpr std::int16_t kShortcutWindowStyle = 4;

}  // namespace kelvane::restart
