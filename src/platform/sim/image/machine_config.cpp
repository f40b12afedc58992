#include "platform/sim/image/machine_config.h"

#include "platform/sim/image/image_error.h"
#include "platform/sim/image/ini_file.h"
#include "platform/sim/image/text_case.h"

namespace kelvane::platform::sim {

const std::string* MachineConfig::Variable(const std::string& name) const {
  for (const auto& [variable, value] : environment) {
    if (SameIgnoringAsciiCase(variable, name)) return &value;
  }
  return nullptr;
}

std::string* MachineConfig::ServiceState(const std::string& name) {
  for (auto& [service, state] : services) {
    if (SameIgnoringAsciiCase(service, name)) return &state;
  }
  return nullptr;
}

MachineConfig ParseMachineConfig(const std::string& text, const std::string& fileName) {
  const IniFile ini = ParseIni(text, fileName);
  MachineConfig config;
  bool hasName = false;
  bool hasPath = false;
  for (const auto& entry : ini.entries) {
    if (SameIgnoringAsciiCase(entry.section, "machine")) {
      if (SameIgnoringAsciiCase(entry.key, "ComputerName")) {
        config.computerName = entry.value;
        hasName = true;
      } else if (SameIgnoringAsciiCase(entry.key, "ExePath")) {
        config.exePath = entry.value;
        hasPath = !entry.value.empty();
      } else if (SameIgnoringAsciiCase(entry.key, "DeleteAtRestart")) {
        config.deletionsAtRestart.push_back(entry.value);
      } else if (SameIgnoringAsciiCase(entry.key, "Administrator")) {
        config.administrator = !SameIgnoringAsciiCase(entry.value, "no");
      } else if (SameIgnoringAsciiCase(entry.key, "InstallerBusy")) {
        // "user": the mutex is held, by an ordinary user's process.
        config.installerHeldByUser = SameIgnoringAsciiCase(entry.value, "user");
        config.installerBusy = SameIgnoringAsciiCase(entry.value, "yes") || config.installerHeldByUser;
      } else if (SameIgnoringAsciiCase(entry.key, "OtherUsersSignedIn")) {
        config.otherUsersSignedIn = SameIgnoringAsciiCase(entry.value, "yes");
      } else if (SameIgnoringAsciiCase(entry.key, "SystemRoot")) {
        config.systemRoot = entry.value;
      } else if (SameIgnoringAsciiCase(entry.key, "Windows")) {
        if (!SameIgnoringAsciiCase(entry.value, "64-bit") && !SameIgnoringAsciiCase(entry.value, "32-bit")) {
          throw ImageError(fileName, entry.line, "Windows is 32-bit or 64-bit, not: " + entry.value);
        }
        config.windows64 = SameIgnoringAsciiCase(entry.value, "64-bit");
      } else if (SameIgnoringAsciiCase(entry.key, "PendingRestart")) {
        config.pendingRestart = SameIgnoringAsciiCase(entry.value, "yes");
      } else {
        throw ImageError(fileName, entry.line, "unknown key in [machine]: " + entry.key);
      }
    } else if (SameIgnoringAsciiCase(entry.section, "environment")) {
      config.environment.emplace_back(entry.key, entry.value);
    } else if (SameIgnoringAsciiCase(entry.section, "services")) {
      if (entry.value != "running" && entry.value != "stopped") {
        throw ImageError(fileName, entry.line, "a service is running or stopped, not: " + entry.value);
      }
      config.services.emplace_back(entry.key, entry.value);
    } else {
      throw ImageError(fileName, entry.line, "a key outside [machine], [environment] and [services]: " + entry.key);
    }
  }
  if (!hasName) throw ImageError(fileName, 0, "missing key ComputerName= in [machine]");
  if (!hasPath) throw ImageError(fileName, 0, "missing key ExePath= in [machine]");
  return config;
}

std::string FormatMachineConfig(const MachineConfig& config) {
  std::string text = "[machine]\nComputerName=" + config.computerName + "\nExePath=" + config.exePath + "\n";
  if (config.windows64) text += "Windows=64-bit\n";
  if (config.pendingRestart) text += "PendingRestart=yes\n";
  if (config.installerBusy) text += config.installerHeldByUser ? "InstallerBusy=user\n" : "InstallerBusy=yes\n";
  if (config.otherUsersSignedIn) text += "OtherUsersSignedIn=yes\n";
  if (!config.administrator) text += "Administrator=no\n";
  if (config.systemRoot != MachineConfig{}.systemRoot) text += "SystemRoot=" + config.systemRoot + "\n";
  for (const auto& path : config.deletionsAtRestart) text += "DeleteAtRestart=" + path + "\n";
  text += "\n[environment]\n";
  for (const auto& [name, value] : config.environment) text += name + "=" + value + "\n";
  text += "\n[services]\n";
  for (const auto& [name, state] : config.services) text += name + "=" + state + "\n";
  return text;
}

}  // namespace kelvane::platform::sim
