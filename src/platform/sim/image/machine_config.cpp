#include "platform/sim/image/machine_config.h"

#include "platform/sim/image/image_error.h"
#include "platform/sim/image/ini_file.h"
#include "platform/sim/image/text_case.h"

namespace kelvane::platform::sim {

const std::string* MachineConfig::Variable(const std::string& name) const {
  for (const auto& [variable, value] : environment) {
    if (SameName(variable, name)) return &value;
  }
  return nullptr;
}

std::string* MachineConfig::ServiceState(const std::string& name) {
  for (auto& [service, state] : services) {
    if (SameName(service, name)) return &state;
  }
  return nullptr;
}

MachineConfig ParseMachineConfig(const std::string& text, const std::string& fileName) {
  const IniFile ini = ParseIni(text, fileName);
  MachineConfig config;
  bool hasName = false;
  bool hasPath = false;
  for (const auto& entry : ini.entries) {
    if (SameName(entry.section, "machine")) {
      if (SameName(entry.key, "ComputerName")) {
        config.computerName = entry.value;
        hasName = true;
      } else if (SameName(entry.key, "ExePath")) {
        config.exePath = entry.value;
        hasPath = !entry.value.empty();
      } else if (SameName(entry.key, "DeleteAtRestart")) {
        config.deletionsAtRestart.push_back(entry.value);
      } else if (SameName(entry.key, "Administrator")) {
        config.administrator = !SameName(entry.value, "no");
      } else if (SameName(entry.key, "InstallerBusy")) {
        // "user": the mutex is held, by an ordinary user's process.
        config.installerHeldByUser = SameName(entry.value, "user");
        config.installerBusy = SameName(entry.value, "yes") || config.installerHeldByUser;
      } else if (SameName(entry.key, "OtherUsersSignedIn")) {
        config.otherUsersSignedIn = SameName(entry.value, "yes");
      } else if (SameName(entry.key, "SystemRoot")) {
        config.systemRoot = entry.value;
      } else if (SameName(entry.key, "Windows")) {
        if (!SameName(entry.value, "64-bit") && !SameName(entry.value, "32-bit")) {
          throw ImageError(fileName, entry.line, "Windows is 32-bit or 64-bit, not: " + entry.value);
        }
        config.windows64 = SameName(entry.value, "64-bit");
      } else if (SameName(entry.key, "PendingRestart")) {
        config.pendingRestart = SameName(entry.value, "yes");
      } else {
        throw ImageError(fileName, entry.line, "unknown key in [machine]: " + entry.key);
      }
    } else if (SameName(entry.section, "environment")) {
      config.environment.emplace_back(entry.key, entry.value);
    } else if (SameName(entry.section, "services")) {
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
