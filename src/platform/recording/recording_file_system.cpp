#include "platform/recording/recording_file_system.h"

#include <algorithm>

#include "common/ascii_case.h"
#include "platform/interface/error.h"
#include "platform/recording/recording_platform.h"
#include "platform/shared/collapse_separators.h"
#include "platform/shared/sweep_root.h"

namespace kelvane::platform::recording {

using platform::CollapseSeparators;
using platform::Error;

namespace {

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
    if (!platform::MayEmptyFolder({CollapseSeparators(path)}, recorder_.machine.sweepRoles)) throw PermissionDenied(path);
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
  // Windows only writes the path down for the next start: one that is not
  // there now is handed over too, as the item may be there by then.
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

}  // namespace

std::unique_ptr<platform::FileSystem> MakeRecordingFileSystem(RecordingPlatform& recorder) {
  return std::make_unique<RecordingFileSystem>(recorder);
}

}  // namespace kelvane::platform::recording
