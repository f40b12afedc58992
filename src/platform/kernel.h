#pragma once

#include <string>

namespace kelvane::platform {

// The rights the tool's access token carries.
enum class Elevation {
  Full,      // an administrator's full token (elevated, or User Account Control off)
  Limited,   // an administrator's token filtered by User Account Control
  Standard,  // a standard user's token
  Unknown,   // the token could not be read
};

// The kernel calls the tool makes.
class Kernel {
 public:
  virtual ~Kernel() = default;
  // The full path of the running executable, whole and in Unicode.
  virtual std::string ExecutablePath() = 0;
  // Blocks the calling thread.
  virtual void Sleep(unsigned milliseconds) = 0;
  // What the running process's token is; never fails (Unknown instead).
  virtual Elevation TokenElevation() = 0;
  // Starts this executable again, from the same folder, asking Windows for
  // an administrator's full rights; returns once it has started. Fails when
  // the person declines.
  virtual void StartElevated() = 0;
};

}  // namespace kelvane::platform
