#pragma once

#include <memory>

#include "platform/interface/kernel.h"
#include "platform/interface/objects.h"

namespace kelvane::platform::windows {

// The automation objects and kernel calls on Win32, COM and WMI. COM must be
// initialised (apartment-threaded) on the calling thread.
std::unique_ptr<Objects> MakeObjects();
std::unique_ptr<Kernel> MakeKernel();

}  // namespace kelvane::platform::windows
