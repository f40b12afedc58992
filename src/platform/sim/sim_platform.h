#pragma once

#include "platform/platform.h"
#include "platform/sim/machine.h"
#include "platform/sim/objects.h"
#include "platform/sim/window_system.h"

namespace kelvane::sim {

// Everything one start of the tool reaches the machine through.
class SimPlatform {
 public:
  explicit SimPlatform(Machine& machine)
      : objects_(machine), kernel_(machine), windows_(machine), platform_{objects_, kernel_, windows_} {}
  SimPlatform(const SimPlatform&) = delete;
  SimPlatform& operator=(const SimPlatform&) = delete;

  platform::Platform& get() { return platform_; }
  SimWindows& windows() { return windows_; }
  SimKernel& kernel() { return kernel_; }

 private:
  SimObjects objects_;
  SimKernel kernel_;
  SimWindows windows_;
  platform::Platform platform_;
};

}  // namespace kelvane::sim
