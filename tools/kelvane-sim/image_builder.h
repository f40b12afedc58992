#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/sim/image/machine_config.h"
#include "platform/sim/image/products_file.h"
#include "platform/sim/image/reg_file.h"

namespace kelvane::sim_tool {

// Puts a machine image together: files and folders on drive C:, registry
// keys, installed products and machine.ini, written out by Write.
class ImageBuilder {
 public:
  explicit ImageBuilder(std::filesystem::path image) : image_(std::move(image)) {}

  platform::sim::MachineConfig& config() { return config_; }
  // While set, what is added is the 32-bit edition's on a 64-bit Windows:
  // its folders under Program Files (x86), its HKLM\SOFTWARE keys under
  // Wow6432Node (the Installer's records and the classes aside, which live
  // in the native view), the paths its values hold likewise.
  void SetThirtyTwoBitEdition(bool on) { thirtyTwoBit_ = on; }
  const platform::sim::MachineConfig& config() const { return config_; }
  std::string Variable(const std::string& name) const;

  // Adds the folder and every folder above it.
  void AddFolder(const std::string& windowsPath, bool readOnly = false);
  // Adds the file, and its folders.
  void AddFile(const std::string& windowsPath, const std::string& content = "", bool readOnly = false);
  // A Shell Link file that starts the target.
  void AddShortcut(const std::string& windowsPath, const std::string& targetPath, std::uint32_t showCommand = 1);
  // A junction: a symbolic link from the path to the target folder.
  void AddJunction(const std::string& windowsPath, const std::string& targetWindowsPath);

  // Adds the key, every key above it, and the value lines.
  void AddKey(const std::string& fullName, const std::vector<std::string>& values = {});
  static std::string StringValue(const std::string& name, const std::string& value);
  // REG_EXPAND_SZ: Windows expands the references it holds when it reads it.
  static std::string ExpandStringValue(const std::string& name, const std::string& value);
  static std::string DwordValue(const std::string& name, std::uint32_t value);
  // REG_MULTI_SZ, as regedit exports it.
  static std::string MultiStringValue(const std::string& name, const std::vector<std::string>& strings);

  void AddProduct(platform::sim::InstalledProduct product);

  // Writes machine.ini, registry.reg (UTF-16LE, as regedit does) and
  // products.ini, and marks the read-only items last.
  void Write();

 private:
  std::filesystem::path HostPath(const std::string& windowsPath) const;
  std::string InEdition(const std::string& windowsPath) const;
  std::string KeyInEdition(const std::string& fullName) const;
  std::string ValueInEdition(const std::string& line) const;

  bool thirtyTwoBit_ = false;
  std::filesystem::path image_;
  platform::sim::MachineConfig config_;
  platform::sim::RegFile registry_;
  std::vector<platform::sim::InstalledProduct> products_;
  std::vector<std::filesystem::path> readOnly_;
};

}  // namespace kelvane::sim_tool
