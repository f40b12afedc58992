#pragma once

#include <string>

namespace kelvane::platform {

// The two kernel calls the tool makes.
class Kernel {
 public:
  virtual ~Kernel() = default;
  // The full path of the running executable, whole and in Unicode.
  virtual std::string ExecutablePath() = 0;
  // Blocks the calling thread.
  virtual void Sleep(unsigned milliseconds) = 0;
};

}  // namespace kelvane::platform
