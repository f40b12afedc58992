#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelvane::platform {

class File {
 public:
  virtual ~File() = default;
  virtual std::string Name() = 0;
  virtual void Delete(bool force) = 0;
};

class Folder {
 public:
  virtual ~Folder() = default;
  virtual std::string Name() = 0;
  // The folder's default value: its full path.
  virtual std::string Path() = 0;
  virtual std::vector<std::unique_ptr<Folder>> SubFolders() = 0;
  virtual std::vector<std::unique_ptr<File>> Files() = 0;
  // Deletes the folder with everything in it.
  virtual void Delete(bool force) = 0;
};

class TextStream {
 public:
  virtual ~TextStream() = default;
  // Writes the text and CR LF.
  virtual void WriteLine(const std::string& text) = 0;
  // The whole text of a file opened for reading.
  virtual std::string ReadAll() = 0;
  virtual void Close() = 0;
};

// The file-system object ("Scripting.FileSystemObject").
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool FileExists(const std::string& path) = 0;
  virtual std::unique_ptr<Folder> GetFolder(const std::string& path) = 0;
  virtual std::unique_ptr<File> GetFile(const std::string& path) = 0;
  // The folder at the path, for emptying whole. Fails with "Permission
  // denied" where that is refused: the folder is itself a link, or its final
  // path (every link on the way followed) may not be emptied (see
  // sweep_root.h).
  virtual std::unique_ptr<Folder> GetFolderToEmpty(const std::string& path) = 0;
  // Without force: a read-only file is not deleted.
  virtual void DeleteFile(const std::string& path) = 0;
  // Single-byte text in the system's ANSI code page; for reading, an
  // existing file.
  virtual std::unique_ptr<TextStream> OpenTextFile(const std::string& path, std::int16_t ioMode,
                                                   bool create) = 0;
  // Makes the folder; one that is already there is no failure. Its folder
  // must exist.
  virtual void CreateFolder(const std::string& path) = 0;
  // Copies a file; whatever stood at the destination goes first, as itself
  // (never written through), so the copy is always a file of its own.
  virtual void CopyFile(const std::string& source, const std::string& destination) = 0;
  // Hands a file or an empty folder to the system, to be deleted when the
  // machine next starts, before anything can hold it open; for what is in
  // use now (the running program). Needs an administrator's rights.
  virtual void DeleteAtRestart(const std::string& path) = 0;
  // A log that every line is appended to, as UTF-8 with CR LF, made when
  // missing; never opened through a link, nor where its folder is missing.
  // With mustBeNew, anything already at the path fails the call, untouched.
  virtual std::unique_ptr<TextStream> OpenLog(const std::string& path, bool mustBeNew) = 0;
  // The system's own Installer folder ("C:\Windows\Installer"), as the
  // system names it, never from the environment.
  virtual std::string InstallerFolder() = 0;
  // Deletes a file, or a folder with everything in it, whose final path
  // (every link on the way followed) lies strictly inside the system's
  // Installer folder, through the same deletion as every other folder: a
  // product's cached package, its patches, its icons. Fails with "Permission
  // denied" for anything elsewhere, and as a deletion fails otherwise.
  virtual void DeleteInstallerCache(const std::string& path) = 0;
};

inline constexpr std::int16_t kForReading = 1;
inline constexpr std::int16_t kForWriting = 2;

}  // namespace kelvane::platform
