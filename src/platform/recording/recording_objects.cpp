#include "platform/recording/recording_objects.h"

#include <algorithm>

#include "common/ascii_case.h"
#include "platform/interface/error.h"
#include "platform/recording/recording_platform.h"
#include "platform/recording/recording_product_services.h"
#include "platform/recording/recording_registry_provider.h"
#include "platform/shared/collapse_separators.h"
#include "platform/shared/environment_references.h"
#include "platform/shared/sweep_root.h"

namespace kelvane::platform::recording {

using platform::CollapseSeparators;
using platform::Error;

namespace {

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

class RecordingProcess final : public platform::Process {
 public:
  RecordingProcess(RecordingPlatform& recorder, std::string command) : recorder_(recorder), command_(std::move(command)) {}
  bool WaitForExit(unsigned timeoutMilliseconds) override {
    recorder_.Record("WaitForExit " + std::to_string(timeoutMilliseconds));
    recorder_.Check(Operation::WaitForExit, command_);
    return true;
  }

 private:
  RecordingPlatform& recorder_;
  std::string command_;
};

class RecordingShortcut final : public platform::Shortcut {
 public:
  RecordingShortcut(RecordingPlatform& recorder, std::string path) : recorder_(recorder), path_(std::move(path)) {}
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
    machine.files[path_] = RecordedFile{target_ + "|" + std::to_string(style_), false};
  }

 private:
  RecordingPlatform& recorder_;
  std::string path_;
  std::string target_;
  int style_ = 1;
};

class RecordingShell final : public platform::Shell {
 public:
  explicit RecordingShell(RecordingPlatform& recorder) : recorder_(recorder) {}

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
    return std::make_unique<RecordingProcess>(recorder_, command);
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
    return std::make_unique<RecordingShortcut>(recorder_, linkPath);
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

class RecordingFile final : public platform::File {
 public:
  RecordingFile(RecordingPlatform& recorder, std::string path) : recorder_(recorder), path_(std::move(path)) {}
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

class RecordingFolder final : public platform::Folder {
 public:
  RecordingFolder(RecordingPlatform& recorder, std::string path) : recorder_(recorder), path_(std::move(path)) {}
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
      if (SameIgnoringAsciiCase(Parent(folder), path_)) items.push_back(std::make_unique<RecordingFolder>(recorder_, folder));
    }
    return items;
  }
  std::vector<std::unique_ptr<platform::File>> Files() override {
    recorder_.Check(Operation::Files, path_);
    std::vector<std::unique_ptr<platform::File>> items;
    for (const auto& [file, entry] : recorder_.machine.files) {
      if (SameIgnoringAsciiCase(Parent(file), path_)) items.push_back(std::make_unique<RecordingFile>(recorder_, file));
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

class RecordingTextStream final : public platform::TextStream {
 public:
  RecordingTextStream(RecordingPlatform& recorder, std::string path) : recorder_(recorder), path_(std::move(path)) {}
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

class RecordingFileSystem final : public platform::FileSystem {
 public:
  explicit RecordingFileSystem(RecordingPlatform& recorder) : recorder_(recorder) {}

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
    if (!platform::MayEmptyFolder(CollapseSeparators(path), recorder_.machine.sweepRoles)) throw PermissionDenied(path);
    return FolderAt(path);
  }
  std::unique_ptr<platform::File> GetFile(const std::string& path) override {
    recorder_.Record("GetFile " + path);
    recorder_.Check(Operation::GetFile, path);
    const auto file = recorder_.machine.files.find(CollapseSeparators(path));
    if (file == recorder_.machine.files.end()) throw NotFound(path);
    return std::make_unique<RecordingFile>(recorder_, file->first);
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
      return std::make_unique<RecordingTextStream>(recorder_, path);
    }
    if (ioMode != platform::kForWriting) throw Error(static_cast<long>(0x80070032), "The request is not supported.");
    if (!recorder_.machine.HasFolder(Parent(path))) throw PathNotFound(path);
    if (recorder_.machine.HasFolder(path)) throw PermissionDenied(path);
    if (!create && !recorder_.machine.HasFile(path)) throw NotFound(path);
    auto& file = recorder_.machine.files[path];
    if (file.readOnly) throw PermissionDenied(path);
    file.content.clear();
    return std::make_unique<RecordingTextStream>(recorder_, path);
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
    recorder_.machine.files[CollapseSeparators(destination)] = RecordedFile{file->second.content, false};
  }
  std::unique_ptr<platform::TextStream> OpenLog(const std::string& path, bool mustBeNew) override {
    recorder_.Record("OpenLog " + path);
    recorder_.Check(Operation::OpenLog, path);
    if (!recorder_.machine.HasFolder(Parent(path))) throw PathNotFound(path);
    if (recorder_.machine.HasFolder(path)) throw PermissionDenied(path);
    if (mustBeNew && recorder_.machine.HasFile(path)) throw platform::Error(platform::kFileAlreadyExists, "File already exists");
    recorder_.machine.files[CollapseSeparators(path)];  // made when missing, appended to when there
    return std::make_unique<RecordingTextStream>(recorder_, CollapseSeparators(path));
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
    return std::make_unique<RecordingFolder>(recorder_, folder->first);
  }

  RecordingPlatform& recorder_;
};

class RecordingNetwork final : public platform::Network {
 public:
  explicit RecordingNetwork(RecordingPlatform& recorder) : recorder_(recorder) {}
  std::string ComputerName() override {
    recorder_.Record("ComputerName");
    recorder_.Check(Operation::ComputerName, "");
    return recorder_.machine.computerName;
  }

 private:
  RecordingPlatform& recorder_;
};

}  // namespace

std::unique_ptr<platform::Shell> RecordingObjects::CreateShell() {
  Create(platform::kShellProgId);
  return std::make_unique<RecordingShell>(recorder_);
}

std::unique_ptr<platform::FileSystem> RecordingObjects::CreateFileSystem() {
  Create(platform::kFileSystemProgId);
  return std::make_unique<RecordingFileSystem>(recorder_);
}

std::unique_ptr<platform::Network> RecordingObjects::CreateNetwork() {
  Create(platform::kNetworkProgId);
  return std::make_unique<RecordingNetwork>(recorder_);
}

std::unique_ptr<platform::RegistryProvider> RecordingObjects::GetRegistryProvider(const std::string& moniker,
                                                                                 platform::RegistryView view) {
  Bind(moniker + (view == platform::RegistryView::Native   ? " (native view)"
                  : view == platform::RegistryView::Bits32 ? " (32-bit view)"
                                                           : ""));
  return MakeRecordingRegistryProvider(recorder_);
}

std::unique_ptr<platform::ProductServices> RecordingObjects::GetProductServices(const std::string& moniker) {
  Bind(moniker);
  return MakeRecordingProductServices(recorder_);
}

void RecordingObjects::Create(const std::string& progId) {
  recorder_.Record("CreateObject " + progId);
  recorder_.Check(Operation::CreateObject, progId);
}

void RecordingObjects::Bind(const std::string& moniker) {
  recorder_.Record("GetObject " + moniker);
  recorder_.Check(Operation::GetObject, moniker);
}

}  // namespace kelvane::platform::recording
