#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/interface/error.h"
#include "platform/sim/image/drive.h"
#include "platform/sim/image/event_log.h"
#include "platform/sim/image/faults.h"
#include "platform/sim/image/machine_config.h"
#include "platform/sim/image/products_file.h"
#include "platform/sim/image/reg_file.h"

namespace kelvane::platform::sim {

// A Windows machine held in a folder (the machine image): machine.ini,
// drive_c/, registry.reg, products.ini, faults.ini and events.log.
class Machine {
 public:
  // Reads the image. Throws ImageError naming the file and the line of
  // whatever cannot be read; nothing is written then.
  explicit Machine(std::filesystem::path image);

  // Writes registry.reg, products.ini and machine.ini back, each through a
  // temporary file renamed into place.
  void Save() const;

  const std::filesystem::path& image() const { return image_; }
  MachineConfig& config() { return config_; }
  RegistryTree& registry() { return registry_.tree; }
  const RegistryTree& registry() const { return registry_.tree; }
  std::vector<InstalledProduct>& products() { return products_; }
  const Drive& drive() const { return drive_; }
  const EventLog& log() const { return log_; }

  // Throws the error when faults.ini makes the operation fail on the argument.
  void Check(Operation operation, const std::string& argument, const platform::Error& error) const;
  bool FailsOn(Operation operation, const std::string& argument) const {
    return faults_.FailsOn(operation, argument);
  }

  // The system's own Installer folder, "C:\Windows\Installer", and whether
  // an item's final path (every link followed) lies strictly inside it.
  std::string InstallerFolder() const { return config_.systemRoot + "\\Installer"; }
  bool InInstallerFolder(const DriveItem& item) const;

  // What faults.ini makes the product's uninstallation answer, if anything.
  std::optional<long> UninstallStatus(const std::string& name, const std::string& code) const {
    return faults_.UninstallStatus(name, code);
  }

  // Environment references replaced by their values. A reference to a
  // variable that is not set stays as it stands, as ExpandEnvironmentStrings
  // leaves it; in a batch file it expands to nothing, as cmd does.
  std::string Expand(const std::string& text, bool batchFile = false) const;

  // Another user logged on instead of the one machine.ini's environment
  // describes, for as long as the image is loaded (never written back): a
  // profile C:\Users\NAME with its own APPDATA and TEMP, made at the first
  // log-on as Windows makes it, and a standard user's token unless
  // administrator.
  void LogOnOtherUser(const std::string& name, bool administrator);
  // The logged-on user's SID, and whether the token is an administrator's.
  std::string UserSid() const;
  bool Administrator() const { return otherUser_ ? otherUser_->administrator : config_.administrator; }

  // Deletes the item as the drive does; what a Delete fault names stays, as
  // a file in use does. Uninstallers and "rd /S /Q" delete with force.
  DeleteRefusal Delete(const DriveItem& item, bool force) const;

 private:
  std::filesystem::path image_;
  MachineConfig config_;
  RegFile registry_;
  std::vector<InstalledProduct> products_;
  Faults faults_;
  Drive drive_;
  EventLog log_;
  struct OtherUser {
    std::string name;
    bool administrator;
    std::vector<std::pair<std::string, std::string>> environment;  // over machine.ini's
  };
  std::optional<OtherUser> otherUser_;
};

}  // namespace kelvane::platform::sim
