#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kelvane::platform {

// A process started by the shell that the caller may wait for.
class Process {
 public:
  virtual ~Process() = default;
  // True when the process has ended within the time-out.
  virtual bool WaitForExit(unsigned timeoutMilliseconds) = 0;
};

// A shortcut object: not on disk until Save.
class Shortcut {
 public:
  virtual ~Shortcut() = default;
  virtual void SetTargetPath(const std::string& targetPath) = 0;
  virtual void SetWindowStyle(std::int16_t windowStyle) = 0;
  virtual void Save() = 0;
};

// The shell object ("WScript.Shell").
class Shell {
 public:
  virtual ~Shell() = default;
  virtual std::string ExpandEnvironmentStrings(const std::string& text) = 0;
  // Starts a command line or a file with the default window style and
  // returns at once; the result, when not empty, lets a caller wait for it.
  virtual std::unique_ptr<Process> run(const std::string& command) = 0;
  // Opens an address with its default handler in the given window style,
  // always with the logged-on user's own rights; fails with
  // kCannotOpenAsUser where that cannot be had, never opening it elevated.
  virtual void run(const std::string& address, std::int16_t windowStyle) = 0;
  virtual std::unique_ptr<Shortcut> CreateShortcut(const std::string& linkPath) = 0;
};

inline constexpr std::int16_t kWindowStyleMaximized = 3;

// HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED): nothing that runs as the user
// (the desktop shell's process) could be asked to open an address.
inline constexpr long kCannotOpenAsUser = static_cast<long>(0x80070032);

}  // namespace kelvane::platform
