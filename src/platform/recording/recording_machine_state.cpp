#include "platform/recording/recording_machine_state.h"

#include "common/ascii_case.h"
#include "platform/shared/collapse_separators.h"

namespace kelvane::platform::recording {

using platform::CollapseSeparators;

std::string Parent(const std::string& path) {
  const auto cut = path.rfind('\\');
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string Leaf(const std::string& path) {
  const auto cut = path.rfind('\\');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool IsBelow(const std::string& path, const std::string& folder) {
  return path.size() > folder.size() + 1 && SameIgnoringAsciiCase(path.substr(0, folder.size() + 1), folder + "\\");
}


// A key's full name as the machine keeps it: HKEY_CLASSES_ROOT is
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes.
std::string KeyName(const std::string& fullName) {
  std::string key = CollapseSeparators(fullName);
  constexpr std::string_view kClasses = "HKEY_CLASSES_ROOT";
  if (SameIgnoringAsciiCase(key.substr(0, kClasses.size()), kClasses) &&
      (key.size() == kClasses.size() || key[kClasses.size()] == '\\')) {
    key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes" + key.substr(kClasses.size());
  }
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

bool CaseLess::operator()(const std::string& a, const std::string& b) const { return LessIgnoringAsciiCase{}(a, b); }

void MachineState::AddFolder(const std::string& path, bool readOnly) {
  const std::string folder = CollapseSeparators(path);
  for (std::string above = Parent(folder); above.size() > 2; above = Parent(above)) folders.emplace(above, false);
  folders[folder] = readOnly;
}

void MachineState::AddFile(const std::string& path, std::string content, bool readOnly) {
  AddFolder(Parent(path));
  files[path] = RecordedFile{std::move(content), readOnly};
}

void MachineState::AddKey(const std::string& fullName) {
  const std::string key = KeyName(fullName);
  for (std::string above = key; above.find('\\') != std::string::npos; above = Parent(above)) keys.insert(above);
}

bool MachineState::HasFolder(const std::string& path) const { return folders.count(CollapseSeparators(path)) > 0; }
bool MachineState::HasFile(const std::string& path) const { return files.count(CollapseSeparators(path)) > 0; }
bool MachineState::HasKey(const std::string& fullName) const { return keys.count(KeyName(fullName)) > 0; }

void MachineState::AddValue(const std::string& fullName, const std::string& valueName, RecordedValue value) {
  AddKey(fullName);
  values[KeyName(fullName)][valueName] = std::move(value);
}

const RecordedValue* MachineState::Value(const std::string& fullName, const std::string& valueName) const {
  const auto key = values.find(KeyName(fullName));
  if (key == values.end()) return nullptr;
  const auto value = key->second.find(valueName);
  return value == key->second.end() ? nullptr : &value->second;
}

platform::Error NotFound(const std::string& what) {
  return platform::Error(static_cast<long>(0x80070002), "The system cannot find the file specified: " + what);
}

platform::Error PathNotFound(const std::string& what) {
  return platform::Error(static_cast<long>(0x80070003), "The system cannot find the path specified: " + what);
}

platform::Error PermissionDenied(const std::string& what) {
  return platform::Error(static_cast<long>(0x80070005), "Access is denied: " + what);
}

platform::Error InUse(const std::string& what) {
  return platform::Error(static_cast<long>(0x80070020),
                         "The process cannot access the file because it is being used by another process: " + what);
}

platform::SweepRoles Windows7SweepRoles() {
  const std::string profile = "C:\\Users\\Demo User";
  return platform::SweepRolesFrom(profile, [&](platform::SweepKnownFolder known) -> std::vector<std::string> {
    using enum platform::SweepKnownFolder;
    switch (known) {
      case Desktop: return {profile + "\\Desktop"};
      case Documents: return {profile + "\\Documents"};
      case Downloads: return {profile + "\\Downloads"};
      case Pictures: return {profile + "\\Pictures"};
      case Music: return {profile + "\\Music"};
      case Videos: return {profile + "\\Videos"};
      case RoamingAppData: return {profile + "\\AppData\\Roaming"};
      case LocalAppData: return {profile + "\\AppData\\Local"};
      case Windows: return {"C:\\Windows"};
      case ProgramFiles: return {"C:\\Program Files"};
      case CommonFiles: return {"C:\\Program Files\\Common Files"};
      case ProgramData: return {"C:\\ProgramData"};
      case Profiles: return {"C:\\Users"};
      case PublicProfile: return {"C:\\Users\\Public"};
      case DefaultProfile: return {"C:\\Users\\Default"};
      case EveryProfile: return {profile, "C:\\Users\\Public", "C:\\Users\\Default"};
      case ProgramFilesX86: case ProgramFilesX64: case CommonFilesX86: case CommonFilesX64: return {};
    }
    return {};
  }, {"C:"});
}

void AddWindowsEnvironment(MachineState& machine) {
  machine.environment = {
      {"TEMP", "C:\\Users\\Demo User\\AppData\\Local\\Temp"},
      {"APPDATA", "C:\\Users\\Demo User\\AppData\\Roaming"},
      {"ALLUSERSPROFILE", "C:\\ProgramData"},
      {"CommonProgramFiles", "C:\\Program Files\\Common Files"},
      {"ProgramFiles", "C:\\Program Files"},
  };
  machine.AddFolder(machine.environment["TEMP"]);
  machine.AddFolder(machine.environment["APPDATA"]);
  machine.AddFolder("C:\\ProgramData\\Start Menu\\Programs\\Startup");
  machine.AddFolder("C:\\Program Files");
  machine.AddFile(machine.executablePath, "MZ");
}

}  // namespace kelvane::platform::recording
