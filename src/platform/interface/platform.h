#pragma once

#include "platform/interface/kernel.h"
#include "platform/interface/objects.h"
#include "platform/interface/window_system.h"

namespace kelvane::platform {

// Everything the tool reaches the machine through.
struct Platform {
  Objects& objects;
  Kernel& kernel;
  WindowSystem& windows;
};

}  // namespace kelvane::platform
