#include "platform/sim/sim_file_system.h"

#include <fstream>

#include "platform/shared/sweep_root.h"
#include "platform/sim/image/atomic_write.h"
#include "platform/sim/image/utf.h"
#include "platform/sim/windows_errors.h"

namespace kelvane::platform::sim {

namespace fs = std::filesystem;

namespace {

// The places of the sweep's rule as this machine has them: the machine has
// one environment, the system's, and one user, whose profile USERPROFILE
// names; every folder beside it in the profiles root is another profile. Its
// only drive, C:, is a fixed one.
platform::SweepRoles SweepRoles(const Machine& machine) {
  using enum platform::SweepKnownFolder;
  const auto value = [&](const char* variable) {
    const std::string expanded = machine.Expand(variable);
    return expanded == variable ? std::string() : expanded;
  };
  const std::string profile = value("%USERPROFILE%");
  const auto parsed = ParseWindowsPath(profile);
  const bool hasProfile = parsed && !parsed->IsRoot();
  const auto inProfile = [&](const char* name) {
    return hasProfile ? std::vector<std::string>{profile + "\\" + name} : std::vector<std::string>{};
  };
  const auto profiles = [&] {
    WindowsPath root = *parsed;
    root.names.pop_back();
    return root;
  };
  return platform::SweepRolesFrom(profile, [&](platform::SweepKnownFolder known) -> std::vector<std::string> {
    switch (known) {
      case Desktop: return inProfile("Desktop");
      case Documents: return inProfile("Documents");
      case Downloads: return inProfile("Downloads");
      case Pictures: return inProfile("Pictures");
      case Music: return inProfile("Music");
      case Videos: return inProfile("Videos");
      case RoamingAppData: return inProfile("AppData\\Roaming");
      case LocalAppData: return inProfile("AppData\\Local");
      case Windows: return {value("%SystemRoot%"), value("%windir%")};
      case ProgramFiles: return {value("%ProgramFiles%")};
      case ProgramFilesX86: return {value("%ProgramFiles(x86)%")};
      case ProgramFilesX64: return {value("%ProgramW6432%")};
      case CommonFiles: return {value("%CommonProgramFiles%")};
      case CommonFilesX86: return {value("%CommonProgramFiles(x86)%")};
      case CommonFilesX64: return {value("%CommonProgramW6432%")};
      case ProgramData: return {value("%ProgramData%"), value("%ALLUSERSPROFILE%")};
      case Profiles: return hasProfile ? std::vector<std::string>{profiles().Text()} : std::vector<std::string>{};
      case PublicProfile: return {value("%PUBLIC%")};
      case DefaultProfile: return {};  // one of every profile, below
      case EveryProfile: {
        std::vector<std::string> each;
        if (!hasProfile) return each;
        if (const auto listed = machine.drive().Find(profiles())) {
          for (const DriveItem& entry : machine.drive().List(*listed)) each.push_back(entry.path.Text());
        }
        return each;
      }
    }
    return {};
  }, {"C:"});
}

// Deletes the item; what stays fails the deletion as Windows reports it.
void DeleteItem(const Machine& machine, const DriveItem& item, bool force) {
  switch (machine.Delete(item, force)) {
    case DeleteRefusal::kNone: return;
    case DeleteRefusal::kAccessDenied: throw AccessDenied();
    case DeleteRefusal::kInUse: throw SharingViolation();
  }
}

bool StillThere(const DriveItem& item) {
  std::error_code error;
  return fs::exists(fs::symlink_status(item.host, error));
}

class SimFile final : public platform::File {
 public:
  SimFile(Machine& machine, DriveItem item) : machine_(machine), item_(std::move(item)) {}
  std::string Name() override {
    machine_.Check(Operation::Name, item_.path.Text(), UnspecifiedError());
    return item_.Name();
  }
  void Delete(bool force) override {
    if (!StillThere(item_)) throw FileNotFound();
    DeleteItem(machine_, item_, force);
  }

 private:
  Machine& machine_;
  DriveItem item_;
};

class SimFolder final : public platform::Folder {
 public:
  SimFolder(Machine& machine, DriveItem item) : machine_(machine), item_(std::move(item)) {}
  std::string Name() override {
    machine_.Check(Operation::Name, item_.path.Text(), UnspecifiedError());
    return item_.Name();
  }
  std::string Path() override {
    machine_.Check(Operation::Path, item_.path.Text(), UnspecifiedError());
    return item_.path.Text();
  }
  std::vector<std::unique_ptr<platform::Folder>> SubFolders() override {
    machine_.Check(Operation::SubFolders, item_.path.Text(), PathNotFound());
    std::vector<std::unique_ptr<platform::Folder>> folders;
    for (auto& item : machine_.drive().List(item_)) {
      if (Drive::IsFolder(item)) folders.push_back(std::make_unique<SimFolder>(machine_, std::move(item)));
    }
    return folders;
  }
  std::vector<std::unique_ptr<platform::File>> Files() override {
    machine_.Check(Operation::Files, item_.path.Text(), PathNotFound());
    std::vector<std::unique_ptr<platform::File>> files;
    for (auto& item : machine_.drive().List(item_)) {
      if (Drive::IsFile(item)) files.push_back(std::make_unique<SimFile>(machine_, std::move(item)));
    }
    return files;
  }
  void Delete(bool force) override {
    if (!StillThere(item_)) throw PathNotFound();
    DeleteItem(machine_, item_, force);
  }

 private:
  Machine& machine_;
  DriveItem item_;
};

class SimTextStream final : public platform::TextStream {
 public:
  // ANSI text, as the file-system object writes it by default, or UTF-8.
  SimTextStream(Machine& machine, fs::path host, bool utf8 = false)
      : machine_(machine), host_(std::move(host)), utf8_(utf8) {}
  void WriteLine(const std::string& text) override {
    if (closed_) throw InvalidHandle();
    machine_.Check(Operation::WriteLine, text, DiskFull());
    std::ofstream(host_, std::ios::binary | std::ios::app) << (utf8_ ? text : Utf8ToAnsi(text)) << "\r\n";
  }
  void Close() override {
    machine_.Check(Operation::Close, host_.filename().string(), UnspecifiedError());
    closed_ = true;
  }
  // The tool reads only ASCII text it wrote itself.
  std::string ReadAll() override {
    if (closed_) throw InvalidHandle();
    return ReadWholeFile(host_);
  }

 private:
  Machine& machine_;
  fs::path host_;
  bool utf8_;
  bool closed_ = false;
};

class SimFileSystem final : public platform::FileSystem {
 public:
  explicit SimFileSystem(Machine& machine) : machine_(machine) {}

  bool FileExists(const std::string& path) override {
    machine_.Check(Operation::FileExists, path, UnspecifiedError());
    const auto item = machine_.drive().Find(path);
    return item && Drive::IsFile(*item);
  }
  std::unique_ptr<platform::Folder> GetFolder(const std::string& path) override {
    machine_.Check(Operation::GetFolder, path, PathNotFound());
    auto item = machine_.drive().Find(path);
    if (!item || !Drive::IsFolder(*item)) throw PathNotFound();
    return std::make_unique<SimFolder>(machine_, std::move(*item));
  }
  std::unique_ptr<platform::Folder> GetFolderToEmpty(const std::string& path) override {
    machine_.Check(Operation::GetFolderToEmpty, path, PathNotFound());
    auto item = machine_.drive().Find(path);
    if (!item || !Drive::IsFolder(*item)) throw PathNotFound();
    std::error_code error;
    const bool isLink = fs::is_symlink(item->host, error);
    const auto final = machine_.drive().FinalPath(*item);
    if (!final || !platform::MayEmptyFolder({final->Text(), isLink}, SweepRoles(machine_))) throw AccessDenied();
    return std::make_unique<SimFolder>(machine_, std::move(*item));
  }
  std::unique_ptr<platform::File> GetFile(const std::string& path) override {
    machine_.Check(Operation::GetFile, path, FileNotFound());
    auto item = machine_.drive().Find(path);
    if (!item || !Drive::IsFile(*item)) throw FileNotFound();
    return std::make_unique<SimFile>(machine_, std::move(*item));
  }
  void DeleteFile(const std::string& path) override {
    machine_.Check(Operation::DeleteFile, path, AccessDenied());
    const auto item = machine_.drive().Find(path);
    if (!item || !Drive::IsFile(*item)) throw FileNotFound();
    DeleteItem(machine_, *item, false);
  }
  std::unique_ptr<platform::TextStream> OpenTextFile(const std::string& path, std::int16_t ioMode,
                                                     bool create) override {
    machine_.Check(Operation::OpenTextFile, path, AccessDenied());
    if (ioMode == platform::kForReading) {
      const auto item = machine_.drive().Find(path);
      if (!item || !Drive::IsFile(*item)) throw FileNotFound();
      return std::make_unique<SimTextStream>(machine_, item->host);
    }
    if (ioMode != platform::kForWriting) throw NotSupported();
    const auto place = Place(path);
    const bool exists = StillThere(*place);
    if (exists && (Drive::IsFolder(*place) || Drive::IsReadOnly(place->host))) throw AccessDenied();
    if (!exists && !create) throw FileNotFound();
    std::ofstream out(place->host, std::ios::binary | std::ios::trunc);
    if (!out) throw AccessDenied();
    return std::make_unique<SimTextStream>(machine_, place->host);
  }
  void CreateFolder(const std::string& path) override {
    machine_.Check(Operation::CreateFolder, path, AccessDenied());
    const auto place = Place(path);
    if (StillThere(*place) && !Drive::IsFolder(*place)) throw AccessDenied();
    if (Drive::IsReadOnly(place->host.parent_path())) throw AccessDenied();
    std::error_code error;
    fs::create_directory(place->host, error);
    if (error) throw AccessDenied();
  }
  void CopyFile(const std::string& source, const std::string& destination) override {
    machine_.Check(Operation::CopyFile, destination, AccessDenied());
    const auto from = machine_.drive().Find(source);
    if (!from || !Drive::IsFile(*from)) throw FileNotFound();
    const auto place = Place(destination);
    // What stood there goes as itself (a link as a link), and the copy is a
    // file of its own.
    if (StillThere(*place)) DeleteItem(machine_, *place, false);
    std::error_code error;
    fs::copy_file(from->host, place->host, error);
    if (error) throw AccessDenied();
  }
  std::unique_ptr<platform::TextStream> OpenLog(const std::string& path, bool mustBeNew) override {
    machine_.Check(Operation::OpenLog, path, AccessDenied());
    const auto place = Place(path);
    std::error_code error;
    // Never written through a link planted at its name, nor in a folder
    // reached through one (a junction an ordinary user made on the way).
    for (fs::path at = place->host.parent_path(); at != machine_.drive().root() && at.has_relative_path();
         at = at.parent_path()) {
      if (fs::is_symlink(at, error)) throw AccessDenied();
    }
    if (fs::is_symlink(place->host, error) || Drive::IsFolder(*place)) throw AccessDenied();
    if (mustBeNew && StillThere(*place)) throw platform::Error(platform::kFileAlreadyExists, "File already exists");
    if (StillThere(*place) && Drive::IsReadOnly(place->host)) throw AccessDenied();
    std::ofstream(place->host, std::ios::binary | std::ios::app);
    return std::make_unique<SimTextStream>(machine_, place->host, true);
  }
  std::string InstallerFolder() override {
    machine_.Check(Operation::InstallerFolder, "", UnspecifiedError());
    return machine_.InstallerFolder();
  }
  void DeleteInstallerCache(const std::string& path) override {
    machine_.Check(Operation::DeleteInstallerCache, path, AccessDenied());
    const auto item = machine_.drive().Find(path);
    if (!item) throw FileNotFound();
    if (!machine_.InInstallerFolder(*item)) throw AccessDenied();
    DeleteItem(machine_, *item, true);
  }
  void DeleteAtRestart(const std::string& path) override {
    // As Windows does, a path that is not there is taken too: nothing is
    // deleted at the restart.
    machine_.Check(Operation::DeleteAtRestart, path, AccessDenied());
    machine_.config().deletionsAtRestart.push_back(path);
  }

 private:
  // Where an item of that path goes; its folder must exist.
  std::optional<DriveItem> Place(const std::string& path) const {
    const auto parsed = ParseWindowsPath(path);
    auto place = parsed ? machine_.drive().PlaceFor(*parsed) : std::nullopt;
    if (!place) throw PathNotFound();
    return place;
  }

  Machine& machine_;
};

}  // namespace

std::unique_ptr<platform::FileSystem> MakeFileSystem(Machine& machine) {
  return std::make_unique<SimFileSystem>(machine);
}

}  // namespace kelvane::platform::sim
