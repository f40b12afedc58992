#pragma once

#include <string>

namespace kelvane::platform {

// The network object ("WScript.Network").
class Network {
 public:
  virtual ~Network() = default;
  virtual std::string ComputerName() = 0;
};

}  // namespace kelvane::platform
