#include "platform/windows/windows_file_system.h"

#include "platform/windows/windows_api.h"

#include <optional>

#include "common/ascii_case.h"
#include "platform/shared/sweep_root.h"
#include "platform/windows/file_items.h"
#include "platform/windows/file_lookup.h"
#include "platform/windows/running_image.h"
#include "platform/windows/folder_delete.h"
#include "platform/windows/long_path.h"
#include "platform/windows/system_folders.h"
#include "platform/windows/system_library.h"
#include "platform/windows/text.h"
#include "platform/windows/text_stream.h"
#include "platform/windows/win_error.h"

namespace kelvane::platform::windows {

namespace {

DWORD Attributes(const std::wstring& longPath) { return GetFileAttributesW(longPath.c_str()); }

bool IsFile(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The entry at the path, or none when nothing stands there (or its folder
// cannot be opened).
std::optional<Listed> Find(const std::wstring& longPath) {
  try {
    return LookUp(longPath);
  } catch (const Error&) {
    return std::nullopt;
  }
}

// Whatever stands at the name to be written goes first, as itself (a link
// as a link; a read-only file only when forced), so what is then made there
// is new: never written through a planted link into another file, nor into a
// file that shares its content with another name. A folder stays, and fails.
// False when nothing stood there.
bool ClearTheWay(const std::wstring& longPath, bool force) {
  const std::optional<Listed> listed = Find(longPath);
  if (!listed || !listed->folder) return false;
  if (listed->entry.IsFolder() && !listed->entry.IsLink()) throw ErrorFromWin32(ERROR_ACCESS_DENIED);
  DeleteEntry(listed->folder->get(), listed->entry, force);
  return true;
}

std::wstring SystemInstallerFolder() { return WindowsFolder() + L"\\Installer"; }

class WindowsFileSystem final : public FileSystem {
 public:
  bool FileExists(const std::string& path) override {
    try {
      return IsFile(Attributes(LongPath(path)));
    } catch (const Error&) {
      return false;  // a path that cannot even be formed names no file
    }
  }

  std::unique_ptr<Folder> GetFolder(const std::string& path) override {
    std::wstring longPath = LongPath(path);
    std::optional<Listed> listed = Find(longPath);
    if (!listed || !listed->entry.IsFolder()) throw ErrorFromWin32(ERROR_PATH_NOT_FOUND);
    return MakeFolder(std::move(*listed), std::move(longPath));
  }

  std::unique_ptr<Folder> GetFolderToEmpty(const std::string& path) override {
    std::wstring longPath = LongPath(path);
    const Listed listed = LookUp(longPath);
    if (!listed.folder) throw ErrorFromWin32(ERROR_ACCESS_DENIED);  // a volume or share root
    if (!listed.entry.IsFolder()) throw ErrorFromWin32(ERROR_PATH_NOT_FOUND);
    // Held open without delete sharing while it is emptied: the folder
    // cannot be renamed or swapped for a link meanwhile. A link as the
    // folder lists it is not opened (Wine opens a link to a folder as the
    // folder itself); one the handle shows is a link all the same.
    HandleFacts facts{};
    UniqueHandle folder;
    if (!listed.entry.IsLink()) {
      folder = OpenListedEntry(listed.folder->get(), HandleName(listed.folder->get()), listed.entry, kListAccess, false,
                               facts);
    }
    const FolderToEmpty candidate{folder ? FinalPath(folder.get()) : std::string(),
                                  listed.entry.IsLink() || facts.IsLink()};
    if (!MayEmptyFolder(candidate, MachineSweepRoles())) throw ErrorFromWin32(ERROR_ACCESS_DENIED);
    return MakeOpenFolder(std::move(folder), std::move(longPath));
  }

  std::unique_ptr<File> GetFile(const std::string& path) override {
    std::wstring longPath = LongPath(path);
    std::optional<Listed> listed = Find(longPath);
    if (!listed || listed->entry.IsFolder()) throw ErrorFromWin32(ERROR_FILE_NOT_FOUND);
    return MakeFile(std::move(*listed), std::move(longPath));
  }

  void DeleteFile(const std::string& path) override {
    const std::optional<Listed> listed = Find(LongPath(path));
    if (!listed || listed->entry.IsFolder()) throw ErrorFromWin32(ERROR_FILE_NOT_FOUND);
    DeleteEntry(listed->folder->get(), listed->entry, false);
  }

  std::unique_ptr<TextStream> OpenTextFile(const std::string& path, std::int16_t ioMode, bool create) override {
    if (ioMode == kForReading) return OpenAnsiTextFileForReading(LongPath(path));
    // Appending is not used by the tool.
    if (ioMode != kForWriting) throw ErrorFromWin32(ERROR_NOT_SUPPORTED);
    const std::wstring longPath = LongPath(path);
    // A read-only file stays, and so does the text.
    if (!ClearTheWay(longPath, false) && !create) throw ErrorFromWin32(ERROR_FILE_NOT_FOUND);
    return CreateAnsiTextFile(longPath);
  }

  std::string InstallerFolder() override { return Narrow(SystemInstallerFolder()); }

  void DeleteInstallerCache(const std::string& path) override {
    const Listed listed = LookUp(LongPath(path));
    // A link is refused as its folder lists it: Wine opens a link as its
    // target, and what a link leads to is named elsewhere.
    if (!listed.folder || listed.entry.IsLink()) throw ErrorFromWin32(ERROR_ACCESS_DENIED);
    // Decided from the handles themselves, every link on the way followed:
    // a path through a junction in the Installer folder, or one that only
    // spells the folder's name, leads wherever the links lead.
    const UniqueHandle root = OpenFolderForListing(LongPath(Narrow(SystemInstallerFolder())));
    const std::string inside = FinalPath(root.get()) + "\\";
    std::string entry = FinalPath(listed.folder->get());
    if (entry.empty() || entry.back() != '\\') entry += '\\';
    entry += Narrow(listed.entry.name);
    if (!BeginsIgnoringAsciiCase(entry, inside) || entry.size() == inside.size()) {
      throw ErrorFromWin32(ERROR_ACCESS_DENIED);
    }
    // The Installer's own files: a read-only one goes too.
    DeleteEntry(listed.folder->get(), listed.entry, true);
  }

  // Every folder of the path is opened below the one above it, never
  // through a link (a folder an ordinary user made first could be a
  // junction to anywhere), and the file relative to the last one.
  std::unique_ptr<TextStream> OpenLog(const std::string& path, bool mustBeNew) override {
    const std::wstring longPath = LongPath(path);
    const auto cut = longPath.find_last_of(L'\\');
    if (cut == std::wstring::npos || cut + 1 == longPath.size()) throw ErrorFromWin32(ERROR_ACCESS_DENIED);
    const UniqueHandle folder = OpenFolderThroughNoLink(longPath.substr(0, cut));
    const std::wstring name = longPath.substr(cut + 1);
    constexpr ACCESS_MASK kAppend = FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
    DirectoryEntry entry;
    if (!FindInFolder(folder.get(), name, entry)) return AppendUtf8Text(CreateInFolder(folder.get(), name, kAppend));
    if (mustBeNew) throw ErrorFromWin32(ERROR_FILE_EXISTS);
    if (entry.IsFolder() || entry.IsLink()) throw ErrorFromWin32(ERROR_ACCESS_DENIED);
    HandleFacts facts{};
    UniqueHandle file = OpenListedEntry(folder.get(), HandleName(folder.get()), entry, kAppend, false, facts);
    // Never appended through a link, nor to a file that shares its content
    // with another name (a hard link to somebody else's file).
    if (facts.IsLink() || facts.IsFolder() || facts.links > 1) throw ErrorFromWin32(ERROR_ACCESS_DENIED);
    return AppendUtf8Text(std::move(file));
  }

  void CreateFolder(const std::string& path) override {
    const std::wstring longPath = LongPath(path);
    if (CreateDirectoryW(longPath.c_str(), nullptr)) return;
    const DWORD code = GetLastError();
    // Only a folder of its own counts as there already: not a file, nor a
    // link to a folder somewhere else.
    const DWORD standing = Attributes(longPath);
    const bool folderThere = code == ERROR_ALREADY_EXISTS && standing != INVALID_FILE_ATTRIBUTES &&
                             (standing & FILE_ATTRIBUTE_DIRECTORY) && !(standing & FILE_ATTRIBUTE_REPARSE_POINT);
    if (!folderThere) throw ErrorFromWin32(code);
  }

  void CopyFile(const std::string& source, const std::string& destination) override {
    const std::wstring from = LongPath(source), to = LongPath(destination);
    if (!IsFile(Attributes(from))) throw ErrorFromWin32(ERROR_FILE_NOT_FOUND);
    // Read-only or not, what stood there is replaced; the copy is made new
    // and fails rather than write into anything that took its place since.
    ClearTheWay(to, true);
    // The running program is copied from the file held since start-up,
    // never read again by name.
    if (IsPinnedImage(from)) return CopyPinnedImage(to);
    if (!CopyFileExW(from.c_str(), to.c_str(), nullptr, nullptr, nullptr, COPY_FILE_FAIL_IF_EXISTS)) {
      throw LastWin32Error();
    }
  }

  void DeleteAtRestart(const std::string& path) override {
    if (!MoveFileExW(LongPath(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) throw LastWin32Error();
  }
};

}  // namespace

std::unique_ptr<FileSystem> MakeFileSystem() { return std::make_unique<WindowsFileSystem>(); }

}  // namespace kelvane::platform::windows
