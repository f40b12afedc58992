#pragma once

#include "platform/interface/platform.h"

namespace kelvane::installer {

// Asks Windows to stop the Office Source Engine service and goes on at once.
void StopService(platform::Platform& platform);

}  // namespace kelvane::installer
