#pragma once

#include "platform/interface/platform.h"
#include "platform/sim/machine.h"
#include "platform/sim/sim_kernel.h"
#include "platform/sim/sim_objects.h"
#include "platform/sim/sim_window_system.h"

namespace kelvane::platform::sim {

// Everything one start of the tool reaches the machine through.
class SimPlatform {
 public:
  // Started by a double-click on machine.ini's ExePath, or from another
  // path (a shortcut's target).
  explicit SimPlatform(Machine& machine) : SimPlatform(machine, machine.config().exePath, {}) {}
  SimPlatform(Machine& machine, std::string startedFrom, std::vector<std::string> arguments)
      : objects_(machine),
        kernel_(machine, std::move(startedFrom), std::move(arguments)),
        windows_(machine),
        platform_{objects_, kernel_, windows_} {}
  SimPlatform(const SimPlatform&) = delete;
  SimPlatform& operator=(const SimPlatform&) = delete;

  platform::Platform& get() { return platform_; }
  SimWindowSystem& windows() { return windows_; }

 private:
  SimObjects objects_;
  SimKernel kernel_;
  SimWindowSystem windows_;
  platform::Platform platform_;
};

}  // namespace kelvane::platform::sim
