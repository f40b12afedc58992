#include "image_builder.h"

#include <fstream>

#include "platform/shared/edition_views.h"
#include "platform/sim/image/atomic_write.h"
#include "platform/sim/image/reg_value.h"
#include "platform/sim/image/shell_link.h"
#include "platform/sim/image/windows_path.h"

namespace kelvane::sim_tool {

// The tool drives and builds the simulated machine.
using namespace platform::sim;

namespace fs = std::filesystem;

std::string ImageBuilder::Variable(const std::string& name) const {
  const std::string* value = config_.Variable(name);
  return value ? *value : std::string();
}

namespace {

const std::string kProgramFiles = "C:\\Program Files\\";
const std::string kProgramFilesX86 = "C:\\Program Files (x86)\\";
const std::string kMachineSoftware = "HKEY_LOCAL_MACHINE\\SOFTWARE\\";

std::string ReplacedPrefix(const std::string& text, const std::string& from, const std::string& to) {
  return text.rfind(from, 0) == 0 ? to + text.substr(from.size()) : text;
}

}  // namespace

std::string ImageBuilder::InEdition(const std::string& windowsPath) const {
  return thirtyTwoBit_ ? ReplacedPrefix(windowsPath, kProgramFiles, kProgramFilesX86) : windowsPath;
}

std::string ImageBuilder::KeyInEdition(const std::string& fullName) const {
  // The Installer's records live in the native view whatever the edition.
  if (!thirtyTwoBit_ || fullName.rfind(kMachineSoftware + "Microsoft\\Windows\\CurrentVersion\\Installer\\", 0) == 0) {
    return fullName;
  }
  return platform::InWow6432Node(fullName);
}

// The value's text as regedit writes it, its backslashes doubled.
std::string ImageBuilder::ValueInEdition(const std::string& line) const {
  if (!thirtyTwoBit_) return line;
  const std::string from = "C:\\\\Program Files\\\\", to = "C:\\\\Program Files (x86)\\\\";
  std::string mapped = line;
  for (std::size_t at = mapped.find(from); at != std::string::npos; at = mapped.find(from, at + to.size())) {
    mapped.replace(at, from.size(), to);
  }
  return mapped;
}

fs::path ImageBuilder::HostPath(const std::string& spelt) const {
  fs::path host = image_ / "drive_c";
  const WindowsPath path = ParseWindowsPath(InEdition(spelt)).value();
  for (const auto& name : path.names) host /= name;
  return host;
}

void ImageBuilder::AddFolder(const std::string& windowsPath, bool readOnly) {
  const fs::path host = HostPath(windowsPath);
  fs::create_directories(host);
  if (readOnly) readOnly_.push_back(host);
}

void ImageBuilder::AddFile(const std::string& windowsPath, const std::string& content, bool readOnly) {
  const fs::path host = HostPath(windowsPath);
  fs::create_directories(host.parent_path());
  std::ofstream(host, std::ios::binary | std::ios::trunc) << content;
  if (readOnly) readOnly_.push_back(host);
}

void ImageBuilder::AddShortcut(const std::string& windowsPath, const std::string& targetPath, std::uint32_t showCommand) {
  AddFile(windowsPath, WriteShellLink({InEdition(targetPath), showCommand}));
}

void ImageBuilder::AddJunction(const std::string& windowsPath, const std::string& targetWindowsPath) {
  const fs::path link = HostPath(windowsPath);
  fs::create_directories(link.parent_path());
  fs::create_directory_symlink(fs::relative(HostPath(targetWindowsPath), link.parent_path()), link);
}

void ImageBuilder::AddKey(const std::string& fullName, const std::vector<std::string>& values) {
  RegistryKey* key = registry_.tree.Create(KeyInEdition(fullName));
  for (const auto& value : values) key->values.push_back(ValueInEdition(value));
}

void ImageBuilder::AddProduct(InstalledProduct product) {
  for (auto& key : product.removesKeys) key = KeyInEdition(key);
  for (auto& folder : product.removesFolders) folder = InEdition(folder);
  products_.push_back(std::move(product));
}

// The value lines regedit writes, as the machine itself writes them.
std::string ImageBuilder::StringValue(const std::string& name, const std::string& value) {
  return FormatStringValue(name, value);
}

std::string ImageBuilder::ExpandStringValue(const std::string& name, const std::string& value) {
  return FormatExpandStringValue(name, value);
}

std::string ImageBuilder::DwordValue(const std::string& name, std::uint32_t value) {
  return FormatDwordValue(name, value);
}

std::string ImageBuilder::MultiStringValue(const std::string& name, const std::vector<std::string>& strings) {
  return FormatMultiStringValue(name, strings);
}

void ImageBuilder::Write() {
  fs::create_directories(image_ / "drive_c");
  WriteFileAtomically(image_ / "machine.ini", FormatMachineConfig(config_));
  WriteFileAtomically(image_ / "registry.reg", FormatRegFile(registry_));
  WriteFileAtomically(image_ / "products.ini", FormatProducts(products_));
  for (const auto& host : readOnly_) {
    fs::permissions(host, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }
}

}  // namespace kelvane::sim_tool
