#pragma once

#include "platform/kernel.h"
#include "platform/objects.h"
#include "platform/window_system.h"

namespace kelvane::platform {

// Everything the tool reaches the machine through.
struct Platform {
  Objects& objects;
  Kernel& kernel;
  WindowSystem& windows;
};

}  // namespace kelvane::platform
