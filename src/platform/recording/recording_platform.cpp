#include "platform/recording/recording_platform.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "common/ascii_case.h"
#include "platform/interface/error.h"
#include "platform/shared/collapse_separators.h"
#include "platform/shared/environment_references.h"
#include "platform/shared/sweep_root.h"
#include "platform/shared/window_model.h"

namespace kelvane::platform::recording {

using platform::CollapseSeparators;
using platform::Error;

namespace {

constexpr long kInjectedFailure = 0x80004005;  // E_FAIL


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

// An unknown handle by its number, so that a lookup with it finds nothing.
std::string RootName(std::uint32_t root) {
  const std::string_view name = platform::RootName(root);
  return name.empty() ? "HKEY_" + std::to_string(root) : std::string(name);
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

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", value);
  return text;
}

// The numbers Windows gives these failures; the text names the item.
Error NotFound(const std::string& what) {
  return Error(static_cast<long>(0x80070002), "The system cannot find the file specified: " + what);
}
Error PathNotFound(const std::string& what) {
  return Error(static_cast<long>(0x80070003), "The system cannot find the path specified: " + what);
}
Error PermissionDenied(const std::string& what) { return Error(static_cast<long>(0x80070005), "Access is denied: " + what); }
Error InUse(const std::string& what) {
  return Error(static_cast<long>(0x80070020), "The process cannot access the file because it is being used by another "
                                              "process: " + what);
}

// The program a command line starts: its first word, quotes dropped.
std::string Program(const std::string& command) {
  if (!command.empty() && command[0] == '"') return command.substr(1, command.find('"', 1) - 1);
  return command.substr(0, command.find(' '));
}

}  // namespace

bool CaseLess::operator()(const std::string& a, const std::string& b) const { return LessIgnoringAsciiCase{}(a, b); }

void MachineState::AddFolder(const std::string& path, bool readOnly) {
  const std::string folder = CollapseSeparators(path);
  for (std::string above = Parent(folder); above.size() > 2; above = Parent(above)) folders.emplace(above, false);
  folders[folder] = readOnly;
}

void MachineState::AddFile(const std::string& path, std::string content, bool readOnly) {
  AddFolder(Parent(path));
  files[path] = FakeFile{std::move(content), readOnly};
}

void MachineState::AddKey(const std::string& fullName) {
  const std::string key = KeyName(fullName);
  for (std::string above = key; above.find('\\') != std::string::npos; above = Parent(above)) keys.insert(above);
}

bool MachineState::HasFolder(const std::string& path) const { return folders.count(CollapseSeparators(path)) > 0; }
bool MachineState::HasFile(const std::string& path) const { return files.count(CollapseSeparators(path)) > 0; }
bool MachineState::HasKey(const std::string& fullName) const { return keys.count(KeyName(fullName)) > 0; }

void MachineState::AddValue(const std::string& fullName, const std::string& valueName, FakeValue value) {
  AddKey(fullName);
  values[KeyName(fullName)][valueName] = std::move(value);
}

const FakeValue* MachineState::Value(const std::string& fullName, const std::string& valueName) const {
  const auto key = values.find(KeyName(fullName));
  if (key == values.end()) return nullptr;
  const auto value = key->second.find(valueName);
  return value == key->second.end() ? nullptr : &value->second;
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

// ---------------------------------------------------------------------------
// The automation objects.

namespace {

class FakeProcess final : public platform::Process {
 public:
  FakeProcess(RecordingPlatform& recorder, std::string command) : recorder_(recorder), command_(std::move(command)) {}
  bool WaitForExit(unsigned timeoutMilliseconds) override {
    recorder_.Record("WaitForExit " + std::to_string(timeoutMilliseconds));
    recorder_.Check(Operation::WaitForExit, command_);
    return true;
  }

 private:
  RecordingPlatform& recorder_;
  std::string command_;
};

class FakeShortcut final : public platform::Shortcut {
 public:
  FakeShortcut(RecordingPlatform& recorder, std::string path) : recorder_(recorder), path_(std::move(path)) {}
  void SetTargetPath(const std::string& targetPath) override {
    recorder_.Record("TargetPath " + targetPath);
    recorder_.Check(Operation::SetTargetPath, targetPath);
    target_ = targetPath;
  }
  void SetWindowStyle(std::int16_t windowStyle) override {
    recorder_.Record("WindowStyle " + std::to_string(windowStyle));
    recorder_.Check(Operation::SetWindowStyle, std::to_string(windowStyle));
    style_ = windowStyle;
  }
  void Save() override {
    recorder_.Record("Save " + path_);
    recorder_.Check(Operation::Save, path_);
    auto& machine = recorder_.machine;
    const auto folder = machine.folders.find(Parent(path_));
    if (folder == machine.folders.end()) throw PathNotFound(path_);
    if (folder->second) throw PermissionDenied(path_);
    machine.files[path_] = FakeFile{target_ + "|" + std::to_string(style_), false};
  }

 private:
  RecordingPlatform& recorder_;
  std::string path_;
  std::string target_;
  int style_ = 1;
};

class FakeShell final : public platform::Shell {
 public:
  explicit FakeShell(RecordingPlatform& recorder) : recorder_(recorder) {}

  std::string ExpandEnvironmentStrings(const std::string& text) override {
    recorder_.Record("ExpandEnvironmentStrings " + text);
    recorder_.Check(Operation::ExpandEnvironmentStrings, text);
    const auto& environment = recorder_.machine.environment;
    return platform::ExpandReferences(text, [&](std::string_view name) -> std::optional<std::string> {
      const auto value = environment.find(std::string(name));
      return value == environment.end() ? std::nullopt : std::optional<std::string>(value->second);
    });
  }

  std::unique_ptr<platform::Process> run(const std::string& command) override {
    recorder_.Record("run " + command);
    recorder_.Check(Operation::run, command);
    RequireFileNamed(Program(command));
    return std::make_unique<FakeProcess>(recorder_, command);
  }

  void run(const std::string& address, std::int16_t windowStyle) override {
    recorder_.Record("open " + address + " | " + std::to_string(windowStyle));
    recorder_.Check(Operation::run, address);
    if (recorder_.machine.desktopShellGone && address.find(':') > 1) {
      throw platform::Error(platform::kCannotOpenAsUser, "The request is not supported.");
    }
    RequireFileNamed(address);
  }

  std::unique_ptr<platform::Shortcut> CreateShortcut(const std::string& linkPath) override {
    recorder_.Record("CreateShortcut " + linkPath);
    recorder_.Check(Operation::CreateShortcut, linkPath);
    return std::make_unique<FakeShortcut>(recorder_, linkPath);
  }

 private:
  // A program or document named by its full path must be there; a name the
  // system looks up ("net", "shutdown") or an address is always found.
  void RequireFileNamed(const std::string& path) const {
    if (path.find(":\\") == 1 && !recorder_.machine.HasFile(path)) throw NotFound(path);
  }

  RecordingPlatform& recorder_;
};

// Why the machine keeps the item, if it does: a file in use, or (without
// force) the read-only flag.
std::optional<Error> Kept(const MachineState& machine, const std::string& item, bool readOnly, bool force) {
  if (machine.filesInUse.count(item)) return InUse(item);
  if (readOnly && !force) return PermissionDenied(item);
  return std::nullopt;
}

// Why the item may not be deleted now, if it may not: a Delete fault, or
// what the machine keeps.
std::optional<Error> Refusal(RecordingPlatform& recorder, const std::string& item, bool readOnly, bool force) {
  try {
    recorder.Check(Operation::Delete, item);
  } catch (const Error& error) {
    return error;
  }
  return Kept(recorder.machine, item, readOnly, force);
}

// Deletes the files and folders at or below the path; what is refused stays,
// with the folders above it, and the deletion then fails with the first
// refusal, as a part-way deletion does.
void DeleteTree(RecordingPlatform& recorder, const std::string& path, bool force) {
  auto& machine = recorder.machine;
  std::optional<Error> first;
  const auto keeps = [&](const std::string& item, bool readOnly) {
    auto refusal = Refusal(recorder, item, readOnly, force);
    if (refusal && !first) first = std::move(refusal);
    return refusal.has_value();
  };
  for (auto file = machine.files.begin(); file != machine.files.end();) {
    if (IsBelow(file->first, path) && keeps(file->first, file->second.readOnly)) {
      ++file;
    } else if (IsBelow(file->first, path)) {
      file = machine.files.erase(file);
    } else {
      ++file;
    }
  }
  std::vector<std::string> below;
  for (const auto& [folder, readOnly] : machine.folders) {
    if (IsBelow(folder, path)) below.push_back(folder);
  }
  std::sort(below.begin(), below.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
  below.push_back(path);
  for (const auto& folder : below) {
    const bool hasChildren =
        std::any_of(machine.files.begin(), machine.files.end(), [&](const auto& f) { return IsBelow(f.first, folder); }) ||
        std::any_of(machine.folders.begin(), machine.folders.end(),
                    [&](const auto& f) { return IsBelow(f.first, folder); });
    if (!hasChildren && !keeps(folder, machine.folders[folder])) machine.folders.erase(folder);
  }
  if (first) throw *first;
}

class FakeFileItem final : public platform::File {
 public:
  FakeFileItem(RecordingPlatform& recorder, std::string path) : recorder_(recorder), path_(std::move(path)) {}
  std::string Name() override {
    recorder_.Check(Operation::Name, path_);
    return Leaf(path_);
  }
  void Delete(bool force) override {
    recorder_.Record("Delete " + path_ + (force ? " | force" : ""));
    auto file = recorder_.machine.files.find(path_);
    if (file == recorder_.machine.files.end()) throw NotFound(path_);
    if (auto refusal = Refusal(recorder_, path_, file->second.readOnly, force)) throw *refusal;
    recorder_.machine.files.erase(file);
  }

 private:
  RecordingPlatform& recorder_;
  std::string path_;
};

class FakeFolder final : public platform::Folder {
 public:
  FakeFolder(RecordingPlatform& recorder, std::string path) : recorder_(recorder), path_(std::move(path)) {}
  std::string Name() override {
    recorder_.Check(Operation::Name, path_);
    return Leaf(path_);
  }
  std::string Path() override {
    recorder_.Check(Operation::Path, path_);
    return path_;
  }
  std::vector<std::unique_ptr<platform::Folder>> SubFolders() override {
    recorder_.Check(Operation::SubFolders, path_);
    std::vector<std::unique_ptr<platform::Folder>> items;
    for (const auto& [folder, readOnly] : recorder_.machine.folders) {
      if (SameIgnoringAsciiCase(Parent(folder), path_)) items.push_back(std::make_unique<FakeFolder>(recorder_, folder));
    }
    return items;
  }
  std::vector<std::unique_ptr<platform::File>> Files() override {
    recorder_.Check(Operation::Files, path_);
    std::vector<std::unique_ptr<platform::File>> items;
    for (const auto& [file, entry] : recorder_.machine.files) {
      if (SameIgnoringAsciiCase(Parent(file), path_)) items.push_back(std::make_unique<FakeFileItem>(recorder_, file));
    }
    return items;
  }
  void Delete(bool force) override {
    recorder_.Record("Delete " + path_ + (force ? " | force" : ""));
    DeleteTree(recorder_, path_, force);
  }

 private:
  RecordingPlatform& recorder_;
  std::string path_;
};

class FakeTextStream final : public platform::TextStream {
 public:
  FakeTextStream(RecordingPlatform& recorder, std::string path) : recorder_(recorder), path_(std::move(path)) {}
  void WriteLine(const std::string& text) override {
    recorder_.Record("WriteLine " + text);
    recorder_.Check(Operation::WriteLine, text);
    recorder_.machine.files[path_].content += text + "\r\n";
  }
  void Close() override {
    recorder_.Record("Close " + path_);
    recorder_.Check(Operation::Close, path_);
  }
  std::string ReadAll() override { return recorder_.machine.files[path_].content; }

 private:
  RecordingPlatform& recorder_;
  std::string path_;
};

class FakeFileSystem final : public platform::FileSystem {
 public:
  explicit FakeFileSystem(RecordingPlatform& recorder) : recorder_(recorder) {}

  bool FileExists(const std::string& path) override {
    recorder_.Record("FileExists " + path);
    recorder_.Check(Operation::FileExists, path);
    return recorder_.machine.HasFile(path);
  }
  std::unique_ptr<platform::Folder> GetFolder(const std::string& path) override {
    recorder_.Record("GetFolder " + path);
    recorder_.Check(Operation::GetFolder, path);
    return FolderAt(path);
  }
  std::unique_ptr<platform::Folder> GetFolderToEmpty(const std::string& path) override {
    recorder_.Record("GetFolderToEmpty " + path);
    recorder_.Check(Operation::GetFolderToEmpty, path);
    if (!platform::MayEmptyFolder({CollapseSeparators(path)}, recorder_.machine.sweepRoles)) throw PermissionDenied(path);
    return FolderAt(path);
  }
  std::unique_ptr<platform::File> GetFile(const std::string& path) override {
    recorder_.Record("GetFile " + path);
    recorder_.Check(Operation::GetFile, path);
    const auto file = recorder_.machine.files.find(CollapseSeparators(path));
    if (file == recorder_.machine.files.end()) throw NotFound(path);
    return std::make_unique<FakeFileItem>(recorder_, file->first);
  }
  void DeleteFile(const std::string& path) override {
    recorder_.Record("DeleteFile " + path);
    recorder_.Check(Operation::DeleteFile, path);
    const auto file = recorder_.machine.files.find(CollapseSeparators(path));
    if (file == recorder_.machine.files.end()) throw NotFound(path);
    if (auto kept = Kept(recorder_.machine, file->first, file->second.readOnly, false)) throw *kept;
    recorder_.machine.files.erase(file);
  }
  std::unique_ptr<platform::TextStream> OpenTextFile(const std::string& path, std::int16_t ioMode,
                                                     bool create) override {
    recorder_.Record("OpenTextFile " + path + " | " + std::to_string(ioMode) + " | " + (create ? "true" : "false"));
    recorder_.Check(Operation::OpenTextFile, path);
    // What the real object refuses: reading or appending, a missing file
    // without create, a folder, a read-only file.
    if (ioMode == platform::kForReading) {
      if (!recorder_.machine.HasFile(path)) throw NotFound(path);
      return std::make_unique<FakeTextStream>(recorder_, path);
    }
    if (ioMode != platform::kForWriting) throw Error(static_cast<long>(0x80070032), "The request is not supported.");
    if (!recorder_.machine.HasFolder(Parent(path))) throw PathNotFound(path);
    if (recorder_.machine.HasFolder(path)) throw PermissionDenied(path);
    if (!create && !recorder_.machine.HasFile(path)) throw NotFound(path);
    auto& file = recorder_.machine.files[path];
    if (file.readOnly) throw PermissionDenied(path);
    file.content.clear();
    return std::make_unique<FakeTextStream>(recorder_, path);
  }
  void CreateFolder(const std::string& path) override {
    recorder_.Record("CreateFolder " + path);
    recorder_.Check(Operation::CreateFolder, path);
    if (!recorder_.machine.HasFolder(Parent(path))) throw PathNotFound(path);
    if (recorder_.machine.HasFile(path)) throw PermissionDenied(path);
    recorder_.machine.AddFolder(path);
  }
  void CopyFile(const std::string& source, const std::string& destination) override {
    recorder_.Record("CopyFile " + source + " | " + destination);
    recorder_.Check(Operation::CopyFile, destination);
    const auto file = recorder_.machine.files.find(CollapseSeparators(source));
    if (file == recorder_.machine.files.end()) throw NotFound(source);
    if (!recorder_.machine.HasFolder(Parent(destination))) throw PathNotFound(destination);
    recorder_.machine.files[CollapseSeparators(destination)] = FakeFile{file->second.content, false};
  }
  std::unique_ptr<platform::TextStream> OpenLog(const std::string& path, bool mustBeNew) override {
    recorder_.Record("OpenLog " + path);
    recorder_.Check(Operation::OpenLog, path);
    if (!recorder_.machine.HasFolder(Parent(path))) throw PathNotFound(path);
    if (recorder_.machine.HasFolder(path)) throw PermissionDenied(path);
    if (mustBeNew && recorder_.machine.HasFile(path)) throw platform::Error(platform::kFileAlreadyExists, "File already exists");
    recorder_.machine.files[CollapseSeparators(path)];  // made when missing, appended to when there
    return std::make_unique<FakeTextStream>(recorder_, CollapseSeparators(path));
  }
  std::string InstallerFolder() override {
    recorder_.Check(Operation::InstallerFolder, "");
    return recorder_.machine.installerFolder;
  }
  // Links are not kept here: a path's final path is the path itself.
  void DeleteInstallerCache(const std::string& path) override {
    recorder_.Record("DeleteInstallerCache " + path);
    recorder_.Check(Operation::DeleteInstallerCache, path);
    auto& machine = recorder_.machine;
    const std::string item = CollapseSeparators(path);
    if (!IsBelow(item, machine.installerFolder)) throw PermissionDenied(path);
    if (machine.filesInUse.count(item)) throw Error(static_cast<long>(0x80070020), "in use: " + path);
    if (machine.files.erase(item)) return;
    if (!machine.folders.count(item)) throw NotFound(path);
    std::erase_if(machine.files, [&](const auto& file) { return IsBelow(file.first, item); });
    std::erase_if(machine.folders, [&](const auto& folder) { return folder.first == item || IsBelow(folder.first, item); });
  }
  void DeleteAtRestart(const std::string& path) override {
    recorder_.Record("DeleteAtRestart " + path);
    recorder_.Check(Operation::DeleteAtRestart, path);
    recorder_.machine.deletionsAtRestart.push_back(path);
  }

 private:
  std::unique_ptr<platform::Folder> FolderAt(const std::string& path) {
    const auto folder = recorder_.machine.folders.find(CollapseSeparators(path));
    if (folder == recorder_.machine.folders.end()) throw PathNotFound(path);
    return std::make_unique<FakeFolder>(recorder_, folder->first);
  }

  RecordingPlatform& recorder_;
};

class FakeNetwork final : public platform::Network {
 public:
  explicit FakeNetwork(RecordingPlatform& recorder) : recorder_(recorder) {}
  std::string ComputerName() override {
    recorder_.Record("ComputerName");
    recorder_.Check(Operation::ComputerName, "");
    return recorder_.machine.computerName;
  }

 private:
  RecordingPlatform& recorder_;
};

class FakeRegistry final : public platform::RegistryProvider {
 public:
  explicit FakeRegistry(RecordingPlatform& recorder) : recorder_(recorder) {}

  long EnumKey(std::uint32_t hDefKey, const std::string& sSubKeyName,
               std::optional<std::vector<std::string>>& sNames) override {
    recorder_.Record("EnumKey " + Hex(hDefKey) + " " + sSubKeyName);
    recorder_.Check(Operation::EnumKey, sSubKeyName);
    sNames.reset();  // a call that returns sets the output, as the provider's does
    const std::string key = KeyName(RootName(hDefKey) + "\\" + sSubKeyName);
    if (!recorder_.machine.keys.count(key)) return 2;
    std::vector<std::string> names;
    for (const auto& other : recorder_.machine.keys) {
      if (SameIgnoringAsciiCase(Parent(other), key)) names.push_back(Leaf(other));
    }
    if (!names.empty()) sNames = std::move(names);
    return 0;
  }

  long DeleteKey(std::uint32_t hDefKey, const std::string& sSubKeyName) override {
    recorder_.Record("DeleteKey " + Hex(hDefKey) + " " + sSubKeyName);
    recorder_.Check(Operation::DeleteKey, sSubKeyName);
    const std::string key = KeyName(RootName(hDefKey) + "\\" + sSubKeyName);
    auto& keys = recorder_.machine.keys;
    if (!keys.count(key)) return 2;
    if (recorder_.machine.refusedKeys.count(key)) return 5;
    if (std::any_of(keys.begin(), keys.end(), [&](const auto& other) { return IsBelow(other, key); })) return 5;
    keys.erase(key);
    recorder_.machine.values.erase(key);
    return 0;
  }

  long EnumValues(std::uint32_t hDefKey, const std::string& sSubKeyName,
                  std::optional<std::vector<std::string>>& sNames) override {
    const std::string key = KeyName(RootName(hDefKey) + "\\" + sSubKeyName);
    recorder_.Record("EnumValues " + key);
    recorder_.Check(Operation::EnumValues, key);
    sNames.reset();
    if (!recorder_.machine.keys.count(key)) return 2;
    const auto values = recorder_.machine.values.find(key);
    if (values == recorder_.machine.values.end() || values->second.empty()) return 0;
    std::vector<std::string> names;
    for (const auto& [name, value] : values->second) names.push_back(name);
    sNames = std::move(names);
    return 0;
  }

  long GetStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                      std::optional<std::string>& sValue) override {
    sValue.reset();
    const FakeValue* value = Read(hDefKey, sSubKeyName, sValueName, Operation::GetStringValue);
    if (!value) return 2;
    if (value->type != FakeValue::Type::String) return kTypeMismatch;
    sValue = value->strings.empty() ? std::string() : value->strings.front();
    return 0;
  }

  long GetMultiStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                           std::optional<std::vector<std::string>>& sValue) override {
    sValue.reset();
    const FakeValue* value = Read(hDefKey, sSubKeyName, sValueName, Operation::GetMultiStringValue);
    if (!value) return 2;
    if (value->type != FakeValue::Type::MultiString) return kTypeMismatch;
    sValue = value->strings;
    return 0;
  }

  long SetMultiStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                           const std::vector<std::string>& sValue) override {
    const std::string key = KeyName(RootName(hDefKey) + "\\" + sSubKeyName);
    std::string joined;
    for (const auto& text : sValue) joined += (joined.empty() ? "" : "|") + text;
    recorder_.Record("SetMultiStringValue " + key + "\\" + sValueName + " = " + joined);
    recorder_.Check(Operation::SetMultiStringValue, key + "\\" + sValueName);
    if (!recorder_.machine.keys.count(key)) return 2;
    if (recorder_.machine.refusedKeys.count(key)) return 5;
    recorder_.machine.values[key][sValueName] = FakeValue{FakeValue::Type::MultiString, sValue};
    return 0;
  }

  long DeleteValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName) override {
    const std::string key = KeyName(RootName(hDefKey) + "\\" + sSubKeyName);
    recorder_.Record("DeleteValue " + key + "\\" + sValueName);
    recorder_.Check(Operation::DeleteValue, key + "\\" + sValueName);
    auto values = recorder_.machine.values.find(key);
    if (values == recorder_.machine.values.end() || !values->second.count(sValueName)) return 2;
    if (recorder_.machine.refusedKeys.count(key)) return 5;
    values->second.erase(sValueName);
    return 0;
  }

 private:
  static constexpr long kTypeMismatch = static_cast<long>(0x80041005);  // WBEM_E_TYPE_MISMATCH

  const FakeValue* Read(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                        Operation operation) {
    const std::string key = KeyName(RootName(hDefKey) + "\\" + sSubKeyName);
    recorder_.Record(std::string(platform::OperationName(operation)) + " " + key + "\\" + sValueName);
    recorder_.Check(operation, key + "\\" + sValueName);
    return recorder_.machine.Value(key, sValueName);
  }

  RecordingPlatform& recorder_;
};

class FakeProductObject final : public platform::Product {
 public:
  FakeProductObject(RecordingPlatform& recorder, std::size_t index) : recorder_(recorder), index_(index) {}
  std::string Name() override {
    const auto& product = recorder_.machine.products[index_];
    recorder_.Check(Operation::Name, product.name.value_or(""));
    if (!product.name) throw Error(0x80041002, "Not found");
    return *product.name;
  }
  std::string ProductCode() override {
    const auto& product = recorder_.machine.products[index_];
    recorder_.Check(Operation::ProductCode, product.code);
    return product.code;
  }
  long Uninstall(const std::string& installerLog) override {
    auto& product = recorder_.machine.products[index_];
    recorder_.Record("Uninstall " + product.name.value_or("(no name)") +
                     (installerLog.empty() ? "" : " log " + installerLog));
    recorder_.Check(Operation::Uninstall, product.name.value_or(""));
    const long status = product.uninstallStatus;
    if (status == 0 || status == 1605 || status == 3010) product.installed = false;
    return status;
  }

 private:
  RecordingPlatform& recorder_;
  std::size_t index_;
};

class FakeProductServices final : public platform::ProductServices {
 public:
  explicit FakeProductServices(RecordingPlatform& recorder) : recorder_(recorder) {}
  std::vector<std::unique_ptr<platform::Product>> ExecQuery(const std::string& query) override {
    recorder_.Record("ExecQuery " + query);
    recorder_.Check(Operation::ExecQuery, query);
    std::vector<std::unique_ptr<platform::Product>> products;
    for (std::size_t i = 0; i < recorder_.machine.products.size(); ++i) {
      const FakeProduct& product = recorder_.machine.products[i];
      if (product.installed && !product.perUser) products.push_back(std::make_unique<FakeProductObject>(recorder_, i));
    }
    return products;
  }
  std::vector<platform::PatchRegistration> EnumPatches() override {
    recorder_.Record("EnumPatches");
    recorder_.Check(Operation::EnumPatches, "");
    return recorder_.machine.patches;
  }
  // Descriptors here are written plainly: the braced product code, then
  // anything; the real encoding is the Windows program's and the simulated
  // machine's to read.
  std::string DecomposeDescriptor(const std::string& descriptor) override {
    recorder_.Record("DecomposeDescriptor " + descriptor);
    recorder_.Check(Operation::DecomposeDescriptor, descriptor);
    if (descriptor.size() < 38 || descriptor.front() != '{' || descriptor[37] != '}') {
      throw Error(static_cast<long>(0x80070057), "The parameter is incorrect.");
    }
    return descriptor.substr(0, 38);
  }

 private:
  RecordingPlatform& recorder_;
};

}  // namespace

class RecordingPlatform::Objects final : public platform::Objects {
 public:
  explicit Objects(RecordingPlatform& recorder) : recorder_(recorder) {}
  std::unique_ptr<platform::Shell> CreateShell() override {
    Create(platform::kShellProgId);
    return std::make_unique<FakeShell>(recorder_);
  }
  std::unique_ptr<platform::FileSystem> CreateFileSystem() override {
    Create(platform::kFileSystemProgId);
    return std::make_unique<FakeFileSystem>(recorder_);
  }
  std::unique_ptr<platform::Network> CreateNetwork() override {
    Create(platform::kNetworkProgId);
    return std::make_unique<FakeNetwork>(recorder_);
  }
  using platform::Objects::GetRegistryProvider;
  std::unique_ptr<platform::RegistryProvider> GetRegistryProvider(const std::string& moniker,
                                                                 platform::RegistryView view) override {
    Bind(moniker + (view == platform::RegistryView::Native   ? " (native view)"
                    : view == platform::RegistryView::Bits32 ? " (32-bit view)"
                                                             : ""));
    return std::make_unique<FakeRegistry>(recorder_);
  }
  std::unique_ptr<platform::ProductServices> GetProductServices(const std::string& moniker) override {
    Bind(moniker);
    return std::make_unique<FakeProductServices>(recorder_);
  }

 private:
  void Create(const std::string& progId) {
    recorder_.Record("CreateObject " + progId);
    recorder_.Check(Operation::CreateObject, progId);
  }
  void Bind(const std::string& moniker) {
    recorder_.Record("GetObject " + moniker);
    recorder_.Check(Operation::GetObject, moniker);
  }
  RecordingPlatform& recorder_;
};

namespace {

// Every operation between these two entries runs with the user's own rights.
class AsUser final : public platform::Impersonation {
 public:
  explicit AsUser(RecordingPlatform& recorder) : recorder_(recorder) { recorder_.Record("as user"); }
  ~AsUser() override { recorder_.Record("as administrator"); }

 private:
  RecordingPlatform& recorder_;
};

}  // namespace

class RecordingPlatform::Kernel final : public platform::Kernel {
 public:
  explicit Kernel(RecordingPlatform& recorder) : recorder_(recorder) {}
  std::string ExecutablePath() override {
    recorder_.Record("ExecutablePath");
    recorder_.Check(Operation::ExecutablePath, "");
    return recorder_.machine.executablePath;
  }
  void Sleep(unsigned milliseconds) override { recorder_.Record("Sleep " + std::to_string(milliseconds)); }
  platform::Elevation TokenElevation() override { return recorder_.machine.elevation; }
  std::string UserSid() override { return recorder_.machine.userSid; }
  // Declining the prompt is FailOn(Operation::StartElevated).
  void StartElevated() override {
    recorder_.Record("StartElevated");
    recorder_.Check(Operation::StartElevated, "");
  }
  std::vector<std::string> Arguments() override { return recorder_.machine.arguments; }
  platform::InstallerWait WaitForInstaller(unsigned timeoutMilliseconds) override {
    recorder_.Record("WaitForInstaller " + std::to_string(timeoutMilliseconds));
    return recorder_.machine.installerBusy ? platform::InstallerWait::Busy : platform::InstallerWait::Idle;
  }
  std::string UtcTime() override { return "2026-12-10T12:00:00.000Z"; }
  unsigned long ProcessId() override { return 4242; }
  void WriteStandardOutputLine(const std::string& text) override { recorder_.Record("stdout " + text); }
  long RequestRestart(unsigned gracePeriodSeconds, bool force) override {
    recorder_.Record("RequestRestart " + std::to_string(gracePeriodSeconds) + (force ? " forced" : " programs may save"));
    return !force && recorder_.machine.otherUsersSignedIn ? platform::kRestartRefusedUsersSignedIn : 0;
  }
  // None unless a test gives some: the program's own view alone.
  std::vector<platform::EditionView> EditionViews() override {
    recorder_.Check(Operation::EditionViews, "");
    return recorder_.machine.editionViews;
  }
  // The user's rights that cannot be had are FailOn(Operation::ImpersonateUser).
  std::unique_ptr<platform::Impersonation> ImpersonateUser() override {
    recorder_.Check(Operation::ImpersonateUser, "");
    return std::make_unique<AsUser>(recorder_);
  }

 private:
  RecordingPlatform& recorder_;
};

class RecordingPlatform::Windows final : public platform::WindowSystem {
 public:
  explicit Windows(RecordingPlatform& recorder) : recorder_(recorder) {}
  void Show(platform::Window window) override {
    const std::string name(platform::WindowName(window));
    recorder_.Record("show " + name);
    recorder_.Check(Operation::Show, name);
    recorder_.visible.insert(window);
  }
  void Hide(platform::Window window) override {
    const std::string name(platform::WindowName(window));
    recorder_.Record("hide " + name);
    recorder_.Check(Operation::Hide, name);
    recorder_.visible.erase(window);
  }
  void SetProgressCaption(const std::string& text) override {
    recorder_.Record("progress " + text);
    recorder_.Check(Operation::SetProgressCaption, text);
  }
  void RepaintProgress() override {
    recorder_.Record("repaint");
    recorder_.Check(Operation::RepaintProgress, "");
  }
  void SetCompletionText(const std::string& text) override { recorder_.Record("label " + text); }
  void ShowErrorBox(const std::string& title, const std::string& text) override {
    recorder_.Record("error " + title + " | " + text);
    recorder_.Check(Operation::ShowErrorBox, title);
  }
  void EndTool(int exitCode) override {
    recorder_.Record(exitCode ? "end " + std::to_string(exitCode) : "end");
    recorder_.exitCode = exitCode;
    recorder_.visible.clear();
    recorder_.ended = true;
  }

 private:
  RecordingPlatform& recorder_;
};

RecordingPlatform::RecordingPlatform()
    : objects_(std::make_unique<Objects>(*this)),
      kernel_(std::make_unique<Kernel>(*this)),
      windows_(std::make_unique<Windows>(*this)),
      platform_{*objects_, *kernel_, *windows_} {}

RecordingPlatform::~RecordingPlatform() = default;

void RecordingPlatform::FailOn(Operation operation, const std::string& argument, int times) {
  faults_.emplace(operation, Fault{argument, times});
}

void RecordingPlatform::Check(Operation operation, const std::string& argument) const {
  const auto [first, last] = faults_.equal_range(operation);
  for (auto fault = first; fault != last; ++fault) {
    const Fault& rule = fault->second;
    if (rule.times != 0 && (rule.argument.empty() || rule.argument == argument)) {
      if (rule.times > 0) --rule.times;
      throw Error(kInjectedFailure, std::string(OperationName(operation)) + " failed");
    }
  }
}

std::vector<std::string> RecordingPlatform::Entries(const std::string& prefix) const {
  std::vector<std::string> entries;
  for (const auto& entry : log_) {
    if (entry.rfind(prefix, 0) == 0) entries.push_back(entry.substr(prefix.size()));
  }
  return entries;
}

std::vector<std::string> RecordingPlatform::EntriesWithRights(const std::string& prefix) const {
  std::vector<std::string> entries;
  bool asUser = false;
  for (const auto& entry : log_) {
    if (entry == "as user" || entry == "as administrator") asUser = entry == "as user";
    if (entry.rfind(prefix, 0) == 0) entries.push_back((asUser ? "user " : "admin ") + entry.substr(prefix.size()));
  }
  return entries;
}

}  // namespace kelvane::platform::recording
