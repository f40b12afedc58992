#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kelvane::platform::sim {

// machine.ini: the machine's name, the tool's path, its environment and its
// services, and whether a restart has been ordered.
struct MachineConfig {
  std::string computerName;  // empty: no name can ever be read
  std::string exePath;
  bool pendingRestart = false;
  bool installerBusy = false;
  bool otherUsersSignedIn = false;
  bool installerHeldByUser = false;  // with installerBusy: the mutex is an ordinary user's  // a restart that lets programs save is refused
  // Where Windows lives, as the system itself names it (not %SystemRoot%,
  // which a user can set): SystemRoot= in [machine].
  std::string systemRoot = "C:\\Windows";
  // A 64-bit Windows (Windows=64-bit in [machine]): its 32-bit view keeps
  // Program Files (x86) and HKLM\SOFTWARE\Wow6432Node apart.
  bool windows64 = false;
  bool administrator = true;  // false: the user's token is a standard user's  // another Windows Installer installation runs and does not end
  std::vector<std::string> deletionsAtRestart;  // paths, in the order handed over
  std::vector<std::pair<std::string, std::string>> environment;  // in file order
  std::vector<std::pair<std::string, std::string>> services;     // name -> "running" | "stopped"

  // The variable's value; names match without regard to case.
  const std::string* Variable(const std::string& name) const;
  std::string* ServiceState(const std::string& name);
};

// Throws ImageError for a malformed line, a missing [machine] key or a
// service state other than running or stopped.
MachineConfig ParseMachineConfig(const std::string& text, const std::string& fileName);
std::string FormatMachineConfig(const MachineConfig& config);

}  // namespace kelvane::platform::sim
