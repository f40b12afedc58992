#include "platform/sim/machine.h"

#include <algorithm>

#include "platform/shared/environment_references.h"
#include "platform/sim/image/atomic_write.h"
#include "platform/sim/image/image_error.h"
#include "platform/sim/image/text_case.h"
#include "platform/sim/image/windows_path.h"

namespace kelvane::platform::sim {

namespace fs = std::filesystem;

namespace {

std::string ReadImageFile(const fs::path& image, const std::string& name, bool optional) {
  const fs::path path = image / name;
  if (!fs::exists(path)) {
    if (optional) return {};
    throw ImageError(path.string(), 0, "missing");
  }
  try {
    return ReadWholeFile(path);
  } catch (const std::exception&) {
    throw ImageError(path.string(), 0, "cannot be read");
  }
}

}  // namespace

Machine::Machine(fs::path image)
    : image_(std::move(image)), drive_(image_ / "drive_c"), log_(image_ / "events.log") {
  if (!fs::is_directory(image_)) throw ImageError(image_.string(), 0, "not a machine image folder");
  config_ = ParseMachineConfig(ReadImageFile(image_, "machine.ini", false), (image_ / "machine.ini").string());
  registry_ = ParseRegFile(ReadImageFile(image_, "registry.reg", false), (image_ / "registry.reg").string());
  products_ = ParseProducts(ReadImageFile(image_, "products.ini", true), (image_ / "products.ini").string());
  faults_ = Faults::Parse(ReadImageFile(image_, "faults.ini", true), (image_ / "faults.ini").string());
  if (!fs::is_directory(image_ / "drive_c")) throw ImageError((image_ / "drive_c").string(), 0, "missing drive folder");
}

void Machine::Save() const {
  WriteFileAtomically(image_ / "registry.reg", FormatRegFile(registry_));
  WriteFileAtomically(image_ / "products.ini", FormatProducts(products_));
  WriteFileAtomically(image_ / "machine.ini", FormatMachineConfig(config_));
}

void Machine::Check(Operation operation, const std::string& argument, const platform::Error& error) const {
  if (faults_.FailsOn(operation, argument)) throw error;
}

std::string Machine::Expand(const std::string& text, bool batchFile) const {
  return platform::ExpandReferences(
      text,
      [&](std::string_view name) -> std::optional<std::string> {
        if (otherUser_) {
          for (const auto& [variable, value] : otherUser_->environment) {
            if (SameIgnoringAsciiCase(variable, std::string(name))) return value;
          }
        }
        const std::string* value = config_.Variable(std::string(name));
        return value ? std::optional<std::string>(*value) : std::nullopt;
      },
      batchFile ? platform::UnknownReference::Dropped : platform::UnknownReference::Kept);
}

void Machine::LogOnOtherUser(const std::string& name, bool administrator) {
  const std::string profile = "C:\\Users\\" + name;
  otherUser_ = OtherUser{name, administrator, {
      {"APPDATA", profile + "\\AppData\\Roaming"},
      {"HOMEPATH", "\\Users\\" + name},
      {"LOCALAPPDATA", profile + "\\AppData\\Local"},
      {"TEMP", profile + "\\AppData\\Local\\Temp"},
      {"TMP", profile + "\\AppData\\Local\\Temp"},
      {"USERNAME", name},
      {"USERPROFILE", profile},
  }};
  for (const char* folder : {"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup",
                             "\\AppData\\Local\\Temp", "\\Documents", "\\Desktop"}) {
    fs::path host = drive_.root();
    const auto path = ParseWindowsPath(profile + folder);
    if (!path) continue;
    for (const auto& part : path->names) host /= part;
    fs::create_directories(host);
  }
}

std::string Machine::UserSid() const {
  // The machine's own part, then the account's number: 1000 for the first
  // user, and one per other user name that stays the same from run to run.
  const std::string machinePart = "S-1-5-21-1004336348-1177238915-682003330-";
  if (!otherUser_) return machinePart + "1000";
  std::uint32_t hash = 2166136261u;
  for (const char c : otherUser_->name) {
    hash = (hash ^ static_cast<unsigned char>(FoldedAscii(c))) * 16777619u;
  }
  return machinePart + std::to_string(1001 + hash % 100000);
}

bool Machine::InInstallerFolder(const DriveItem& item) const {
  const auto folder = drive_.Find(InstallerFolder());
  const auto inside = folder ? drive_.FinalPath(*folder) : std::nullopt;
  const auto final = drive_.FinalPath(item);
  if (!inside || !final || final->names.size() <= inside->names.size()) return false;
  return std::equal(inside->names.begin(), inside->names.end(), final->names.begin(),
                    [](const std::string& a, const std::string& b) { return SameIgnoringAsciiCase(a, b); });
}

DeleteRefusal Machine::Delete(const DriveItem& item, bool force) const {
  return drive_.Delete(item, force, [&](const WindowsPath& path) { return FailsOn(Operation::Delete, path.Text()); });
}

}  // namespace kelvane::platform::sim
